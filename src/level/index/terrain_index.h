// The terrain index: a spatial index over the triangle list, so that the
// point test and the terrain drawing look only at the triangles near a
// point or near the view instead of walking the whole list. Every answer is
// the plain list walk's. This is its face for the triangle list
// (terrain.cpp) and the drawing; blobs ask through blob_questions.h.
// docs/terrain-index.md draws the layers beneath.
#pragma once

#include <vector>

struct primitive;

namespace terrain_index {

// Files a triangle just appended to the list; its `order` is its place in
// the list.
void add(primitive* p);

// Notes that the triangle's corners changed (moveTriangle): it is filed
// again before the next question, so a crate moving a pixel a tick costs
// little more than in a plain list, however many crates share its place.
void moved(primitive* p);

// Forgets every triangle. The chains' tables are given back; the memory of
// cells keeps its tables and stores for the next level (see cell_memory.h).
void clear();

// Whether a solid triangle holds the point: collideAll's answer.
bool holds(int x, int y);

// Fills `out` with every drawn triangle (`drawn` set: not a crate's, which
// the crate draws itself) whose bounding box may meet the closed rectangle,
// each once, in list order. `out` keeps its capacity between calls, so a
// caller that reuses it allocates nothing once it is large enough. Leaving
// the crates' triangles out here keeps a stack of thousands of crates from
// being sorted every frame.
void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out);

}  // namespace terrain_index
