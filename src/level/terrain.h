// Terrain triangles: all solid matter of the world, kept in one singly linked
// list in order of creation. The level loader fills it, each platform adds and
// moves two triangles of its own, the level object draws it, and the blobs ask
// whether a point lies in it.
#pragma once

struct primitive {
  int x1, x2, x3;  // world pixels
  int y1, y2, y3;  // world pixels, y grows downward
  // Corner colours. Only the low 8 bits are drawn, so -56 draws as 200.
  int r1, g1, b1, r2, g2, b2, r3, g3, b3;
  bool drawn;  // the terrain drawing shows it
  bool solid;  // collideAll tests it
  primitive* next;
};

extern primitive* start_ptr;

// Appends a new white, drawn, solid triangle at the tail and returns it; the
// list owns it.
primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3);

void addColour(primitive* p, int r1, int g1, int b1, int r2, int g2, int b2, int r3, int g3,
               int b3);

// 1 when (px, py) lies inside the triangle or on its boundary, either winding,
// else 0. A degenerate triangle accepts its whole line; collideAll's box test
// narrows that to the segment.
int collideTriangleSpecial(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py);

// True when the point lies in, or on the edge of, a solid triangle. Stops at
// the first hit.
bool collideAll(int x, int y);

// Deletes every triangle and empties the list. Registered with atexit.
void freeCollisions();
