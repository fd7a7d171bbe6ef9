// Terrain triangles: all solid matter of the world, kept in one singly linked
// list in order of creation. The level loader fills it, each platform adds and
// moves two triangles of its own, the level object draws it, and the blobs ask
// whether a point lies in it. A spatial index (level/index/, described in
// docs/terrain-index.md) follows the list, so that a question looks only at
// the triangles near its point.
#pragma once

struct primitive;
primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3);
void moveTriangle(primitive* p, int dx, int dy);

// A corner coordinate in world pixels. Anyone reads it as an int; only the
// list's own addVertex and moveTriangle set it, so that the index hears of
// every change.
class corner_coordinate {
 public:
  constexpr operator int() const { return value_; }

 private:
  friend primitive* addVertex(int, int, int, int, int, int);
  friend void moveTriangle(primitive*, int, int);
  constexpr corner_coordinate(int value) : value_(value) {}  // NOLINT: set like an int
  corner_coordinate& operator=(const corner_coordinate&) = default;
  int value_;
};

struct primitive {
  corner_coordinate x1, x2, x3;  // world pixels
  corner_coordinate y1, y2, y3;  // world pixels, y grows downward
  // Corner colours. Only the low 8 bits are drawn, so -56 draws as 200.
  int r1, g1, b1, r2, g2, b2, r3, g3, b3;
  bool drawn;  // the terrain drawing shows it; may be written directly
  bool solid;  // collideAll tests it; may be written directly
  primitive* next;
  unsigned order;   // place in the list, counted from 0
  bool refile_due;  // moved since the index last filed it
};

extern primitive* start_ptr;

// Appends a new white, drawn, solid triangle at the tail and returns it; the
// list owns it. Corners lie within ±536,870,912 pixels (2^29), where the
// point test is exact; a level file holds ±32,640.
primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3);

void addColour(primitive* p, int r1, int g1, int b1, int r2, int g2, int b2, int r3, int g3,
               int b3);

// Moves the triangle's three corners by (dx, dy) pixels, staying within
// addVertex's range: a moving platform's triangles go through here every
// tick.
void moveTriangle(primitive* p, int dx, int dy);

// 1 when (px, py) lies inside the triangle or on its boundary, either winding,
// else 0. A degenerate triangle accepts its whole line; collideAll's box test
// narrows that to the segment.
int collideTriangleSpecial(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py);

// True when the point lies in, or on the edge of, a solid triangle: the
// answer of walking the list and testing each triangle's box and area,
// found by the index among the triangles near the point.
bool collideAll(int x, int y);

// Deletes every triangle, empties the list and the index. Registered with
// atexit; a level can be loaded again afterwards.
void freeCollisions();
