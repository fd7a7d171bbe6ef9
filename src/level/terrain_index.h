// A spatial index over the terrain triangles, so that the point test and the
// terrain drawing look only at triangles near a point or near the view
// instead of walking the whole list. It answers exactly as the list walk
// does: it narrows down which triangles are tested with the walk's own test,
// or relies on a solid triangle that the same test found to hold a whole
// cell; solid flags are always read as they are now.
//
// Triangles are filed in the cells of a stack of grids (terrain_cells.h). A
// small one sits in at most 16 cells of the finest level where that is
// enough; a large one is broken down into the cells it fills and the cells
// its edges cross, so that a point deep inside thousands of huge
// overlapping triangles is answered by one filled cell. A triangle that has
// moved, like a crate's, is filed apart from the static terrain. For every
// 64-pixel cell a point is asked about, the index then remembers which
// static triangles touch it, or that a solid one fills it: the next
// question there costs one look-up and a few triangle tests, whatever the
// size of the level; where blobs keep asking, the cell's 8x8 blocks are
// sorted too, and most questions then cost one look-up (terrain_quick.h).
//
// Used by terrain.cpp, which keeps the index in step with the triangle list,
// and by the terrain drawing.
#pragma once

#include <vector>

struct primitive;
struct solid_box;

namespace terrain_index {

// True when a solid triangle holds the point: the list walk's answer. When
// the point's whole fine cell is known to be solid and `solid_cell` is
// given, it is set to the largest cell around the point known to be solid.
bool any_solid_at(int x, int y, solid_box* solid_cell);

// Whether a moved triangle holds the point.
bool mobile_holds(int x, int y);

// Files a triangle just appended to the list; its `order` becomes its place
// in the list.
void add(primitive* p);

// Notes that the triangle's corners changed; it is filed again before the
// next question.
void refile_later(primitive* p);

// Forgets every triangle and releases the index's memory.
void clear();

// Fills `out` with every triangle whose bounding box may meet the closed
// rectangle, each once, in list order. `out` keeps its capacity between
// calls, so a caller that reuses it allocates nothing once it is large
// enough.
void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out);

}  // namespace terrain_index
