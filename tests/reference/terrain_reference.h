// The plain references the terrain index is held to: the point test and the
// terrain drawing done the way the game did before the index, by walking
// the whole triangle list from its head. Linked only by the tests, the fuzz
// targets and the benchmarks.
#pragma once

#include <GL/gl.h>

// collideAll's answer by walking the whole list, stopping at the first
// solid triangle whose box and area hold the point.
bool collideAllScan(int x, int y);

// The terrain drawing by walking the whole list: every triangle the drawing
// shows, in list order, nothing left out.
void draw_terrain_by_walk(GLuint texture);
