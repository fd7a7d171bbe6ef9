#include "level/terrain.h"

#include <cstdint>
#include <cstdlib>

#include "level/terrain_index.h"

primitive* start_ptr = nullptr;

namespace {
// The last triangle of the list, so that appending does not walk the whole
// list: loading a level stays linear in its size.
primitive* tail = nullptr;
}  // namespace

primitive* addVertex(int x1, int y1, int x2, int y2, int x3, int y3) {
  auto* p = new primitive{x1,  x2,  x3,  y1,  y2,  y3,   255,  255,     255, 255,
                          255, 255, 255, 255, 255, true, true, nullptr, 0, false};
  if (!start_ptr) {
    start_ptr = p;
  } else {
    tail->next = p;
  }
  tail = p;
  terrain_index::add(p);
  return p;
}

void moveTriangle(primitive* p, int dx, int dy) {
  p->x1 += dx;
  p->x2 += dx;
  p->x3 += dx;
  p->y1 += dy;
  p->y2 += dy;
  p->y3 += dy;
  if (!p->refile_due) {
    p->refile_due = true;
    terrain_index::refile_later(p);
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

namespace {
// Twice the area of the triangle (a, b, c), unsigned. 64-bit so that any
// triangle the level file can hold gives an exact answer.
std::int64_t twice_area(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                        std::int64_t cx, std::int64_t cy) {
  return std::llabs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay));
}
}  // namespace

// A point is inside (or on the edge) exactly when the three triangles it
// forms with the sides add up to the whole area; outside, they overshoot.
int collideTriangleSpecial(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py) {
  std::int64_t whole = twice_area(x1, y1, x2, y2, x3, y3);
  std::int64_t parts = twice_area(px, py, x1, y1, x2, y2) + twice_area(px, py, x2, y2, x3, y3) +
                       twice_area(px, py, x3, y3, x1, y1);
  return parts == whole ? 1 : 0;
}

namespace {
bool outside_box(const primitive& p, int x, int y) {
  return (p.x1 < x && p.x2 < x && p.x3 < x) || (p.x1 > x && p.x2 > x && p.x3 > x) ||
         (p.y1 < y && p.y2 < y && p.y3 < y) || (p.y1 > y && p.y2 > y && p.y3 > y);
}
}  // namespace

bool known_empty(int left, int top, int right, int bottom) {
  return terrain_index::empty_rectangle(left, top, right, bottom);
}

bool collideAllWithin(int x, int y, solid_box& known) {
  return known.holds(x, y) || terrain_index::any_solid_at(x, y, &known);
}

bool collideAllScan(int x, int y) {
  for (const primitive* p = start_ptr; p; p = p->next) {
    if (!p->solid || outside_box(*p, x, y)) continue;
    if (collideTriangleSpecial(p->x1, p->y1, p->x2, p->y2, p->x3, p->y3, x, y)) return true;
  }
  return false;
}

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
