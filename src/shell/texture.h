// Turns a PNG or JPEG picture into a GL texture. Every picture the game shows
// comes through here; nothing is cached, so each caller owns its copy.
#pragma once

#include <GL/gl.h>

// Decodes the picture and uploads it as a repeating, linearly filtered
// GL_TEXTURE_2D, left bound. The path may use backslash separators. Returns
// the texture name, or 0 (with one line on stderr naming the file and the
// reason) when the file is missing or cannot be decoded; 0 is safe to bind
// and to delete.
GLuint loadTexture(const char* path);

// For programs that run the simulation without a window (the headless
// runner): from now on loadTexture reads nothing and returns 0.
void disable_texture_loading();
