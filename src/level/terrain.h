// Terrain triangles: all solid matter of the world, kept in one singly linked
// list in order of creation. The level loader fills it, each platform adds and
// moves two triangles of its own, the level object draws it, and the blobs ask
// whether a point lies in it. A spatial index (terrain_index.h) follows the
// list, so that a question looks only at the triangles near its point.
#pragma once

#include "level/terrain_quick.h"

struct primitive {
  int x1, x2, x3;  // world pixels
  int y1, y2, y3;  // world pixels, y grows downward
  // Corner colours. Only the low 8 bits are drawn, so -56 draws as 200.
  int r1, g1, b1, r2, g2, b2, r3, g3, b3;
  bool drawn;  // the terrain drawing shows it
  bool solid;  // collideAll tests it
  primitive* next;
  // Place in the list, counted from 0, set by addVertex. The index files a
  // triangle by its corners: change them only through moveTriangle. The
  // colours and both flags may be written directly.
  unsigned order;
  // Set by moveTriangle until the index files the triangle at its new
  // corners, which it does before it answers the next question: moving a
  // crate costs little more than writing its corners, as in a plain list.
  bool refile_due;
};

extern primitive* start_ptr;

// Appends a new white, drawn, solid triangle at the tail and returns it; the
// list owns it.
primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3);

void addColour(primitive* p, int r1, int g1, int b1, int r2, int g2, int b2, int r3, int g3,
               int b3);

// Moves the triangle's three corners by (dx, dy) pixels and files it again
// in the index: a moving platform's triangles go through here every tick.
void moveTriangle(primitive* p, int dx, int dy);

// 1 when (px, py) lies inside the triangle or on its boundary, either winding,
// else 0. A degenerate triangle accepts its whole line; collideAll's box test
// narrows that to the segment.
int collideTriangleSpecial(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py);

// True when the point lies in, or on the edge of, a solid triangle. Asks the
// index, which looks only at the triangles near the point; inline, since a
// blob asks hundreds of times a tick and most answers take one look-up.
inline bool collideAll(int x, int y) { return terrain_index::solid_at(x, y, nullptr); }

// collideAll for the points of one path asked one after another with no
// change to the terrain in between, like a ray march within one blob's
// step: it remembers what the last 8x8 block asked about holds, so that
// most questions that follow inside it cost a comparison or two.
class terrain_path {
 public:
  [[gnu::always_inline]] bool collides(int x, int y) {
    if ((x >> 3) == seen_.x && (y >> 3) == seen_.y) {
      std::uint64_t pixel = std::uint64_t{1} << (((y & 7) << 3) | (x & 7));
      if (seen_.none & pixel) return false;
      if ((seen_.held & pixel) && *seen_.holder_solid) return true;
    }
    return terrain_index::solid_at(x, y, &seen_);
  }

 private:
  terrain_index::block_answers seen_;
};

// True when collideAll is false for every pixel from (left, top) to
// (right, bottom) inclusive, as far as the index knows without testing a
// triangle: a small rectangle wholly in 8x8 blocks that no triangle
// reaches. False means only that it is not known.
bool known_empty(int left, int top, int right, int bottom);

// Pixels all known to be solid, from left to right and top to bottom
// inclusive; empty at first.
struct solid_box {
  int left = 1, top = 1, right = 0, bottom = 0;
  bool holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// collideAll for walks of many one-pixel steps through solid terrain: true
// at once for a point inside `known`, and when every pixel of a cell around
// the point is known to be solid, `known` becomes that cell, the largest
// one a solid triangle is known to fill. The box stays true only while no
// triangle changes, so keep it within one walk.
bool collideAllWithin(int x, int y, solid_box& known);

// The same answer by walking the whole list from the head, stopping at the
// first hit: the plain reference the index is checked against.
bool collideAllScan(int x, int y);

// Deletes every triangle, empties the list and the index. Registered with
// atexit; a level can be loaded again afterwards.
void freeCollisions();
