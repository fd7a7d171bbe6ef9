#include "level/terrain.h"

#include <cassert>
#include <cstdint>
#include <cstdlib>

#include "level/index/terrain_index.h"
#include "level/triangle_test.h"

using triangle_test::corner_in_range;

primitive* start_ptr = nullptr;

namespace {
// The last triangle of the list, so that appending does not walk the whole
// list: loading a level stays linear in its size.
primitive* tail = nullptr;
}  // namespace

primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3) {
  assert(corner_in_range(x1) && corner_in_range(y1) && corner_in_range(x2) && corner_in_range(y2) &&
         corner_in_range(x3) && corner_in_range(y3) &&
         "corners must lie within ±2^29 pixels, where the point test is exact");
  auto* p = new primitive{x1,  x2,  x3,  y1,  y2,  y3,   255,  255,     255, 255,
                          255, 255, 255, 255, 255, true, true, nullptr, 0,   false};
  if (!start_ptr) {
    start_ptr = p;
  } else {
    tail->next = p;
  }
  tail = p;
  terrain_index::add(p);
  return p;
}

// Only the corners are written here; the index files the triangle again
// before it answers its next question.
void moveTriangle(primitive* p, int dx, int dy) {
  p->x1 = p->x1 + dx;
  p->x2 = p->x2 + dx;
  p->x3 = p->x3 + dx;
  p->y1 = p->y1 + dy;
  p->y2 = p->y2 + dy;
  p->y3 = p->y3 + dy;
  assert(corner_in_range(p->x1) && corner_in_range(p->y1) && corner_in_range(p->x2) &&
         corner_in_range(p->y2) && corner_in_range(p->x3) && corner_in_range(p->y3) &&
         "a moved triangle stays within addVertex's range");
  if (!p->refile_due) {
    p->refile_due = true;
    terrain_index::moved(p);
  }
}

void addColour(primitive* p, int r1, int g1, int b1, int r2, int g2, int b2, int r3, int g3,
               int b3) {
  p->r1 = r1;
  p->g1 = g1;
  p->b1 = b1;
  p->r2 = r2;
  p->g2 = g2;
  p->b2 = b2;
  p->r3 = r3;
  p->g3 = g3;
  p->b3 = b3;
}

int collideTriangleSpecial(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py) {
  return triangle_test::area_test(x1, y1, x2, y2, x3, y3, px, py);
}

bool collideAll(int x, int y) { return terrain_index::holds(x, y); }

void freeCollisions() {
  primitive* p = start_ptr;
  while (p) {
    primitive* next = p->next;
    delete p;
    p = next;
  }
  start_ptr = nullptr;
  tail = nullptr;
  terrain_index::clear();
}
