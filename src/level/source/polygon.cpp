#include "polygon.h"

#include <GL/glu.h>
// APIENTRY, GL's calling convention, for the browser's headers too.
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>

std::int64_t twice_signed_area(const std::vector<point2>& ring) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const point2& a = ring[i];
    const point2& b = ring[(i + 1) % ring.size()];
    sum += static_cast<std::int64_t>(a.x) * b.y - static_cast<std::int64_t>(b.x) * a.y;
  }
  return sum;
}

namespace {
// Sign of the turn a -> b -> c: 1 left, -1 right, 0 straight (64-bit exact).
int turn(const point2& a, const point2& b, const point2& c) {
  std::int64_t cross = static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) -
                       static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
  return (cross > 0) - (cross < 0);
}

// p lies within the bounding box of a-b (used once p is known to be on the line).
bool within_box(const point2& a, const point2& b, const point2& p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// Closed segments a-b and c-d share at least one point.
bool segments_meet(const point2& a, const point2& b, const point2& c, const point2& d) {
  int t1 = turn(a, b, c), t2 = turn(a, b, d), t3 = turn(c, d, a), t4 = turn(c, d, b);
  if (t1 * t2 < 0 && t3 * t4 < 0) return true;
  return (t1 == 0 && within_box(a, b, c)) || (t2 == 0 && within_box(a, b, d)) ||
         (t3 == 0 && within_box(c, d, a)) || (t4 == 0 && within_box(c, d, b));
}

std::string edge_name(std::size_t i, std::size_t n) {
  return "edge " + std::to_string(i + 1) + "-" + std::to_string((i + 1) % n + 1);
}

// Two edges that follow each other fold back when they run along one line in
// opposite directions: the second retraces part of the first.
bool folds_back(const point2& a, const point2& b, const point2& c) {
  if (turn(a, b, c) != 0) return false;
  std::int64_t dot = static_cast<std::int64_t>(b.x - a.x) * (c.x - b.x) +
                     static_cast<std::int64_t>(b.y - a.y) * (c.y - b.y);
  return dot < 0;
}

std::string crossing_problem(const std::vector<point2>& ring) {
  std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const point2 &a = ring[i], &b = ring[(i + 1) % n], &c = ring[(i + 2) % n];
    if (a == b) return "point " + std::to_string(i + 1) + " repeats the point before it";
    if (folds_back(a, b, c))
      return "it folds back on itself at point " + std::to_string((i + 1) % n + 1);
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;  // the closing edge meets the first at point 1
      if (segments_meet(a, b, ring[j], ring[(j + 1) % n]))
        return edge_name(i, n) + " crosses or touches " + edge_name(j, n);
    }
  }
  return "";
}
}  // namespace

std::string ring_problem(const std::vector<point2>& ring) {
  if (ring.size() < 3)
    return "it has " + std::to_string(ring.size()) + " points; a polygon needs 3";
  std::string crossing = crossing_problem(ring);
  if (!crossing.empty()) return "it overlaps itself: " + crossing;
  if (twice_signed_area(ring) == 0) return "it has no area: all its points lie on one line";
  return "";
}

namespace {
// What the tessellator hands back while it works.
struct tessellation {
  std::vector<int> corners;  // ring indices, three per triangle
  bool made_new_points = false;
  GLenum error = 0;
};

int no_point = -1;  // handed out for a point the tessellator wants to invent

void APIENTRY on_begin(GLenum, void*) {}
// Registering an edge-flag callback makes the tessellator emit only separate
// triangles, never fans or strips.
void APIENTRY on_edge_flag(GLboolean, void*) {}
void APIENTRY on_end(void*) {}

void APIENTRY on_vertex(void* vertex, void* data) {
  static_cast<tessellation*>(data)->corners.push_back(*static_cast<int*>(vertex));
}

// Only a ring that crosses itself needs new points; ring_problem refuses
// those first, so this is a second line of defence.
void APIENTRY on_combine(GLdouble*, void**, GLfloat*, void** out, void* data) {
  static_cast<tessellation*>(data)->made_new_points = true;
  *out = &no_point;
}

void APIENTRY on_error(GLenum error, void* data) {
  static_cast<tessellation*>(data)->error = error;
}

// gluTessCallback takes every callback as this one plain function type
// (Mesa's headers name it _GLUfuncptr, Windows' spell it out).
using tess_callback = void(APIENTRY*)();

void set_callbacks(GLUtesselator* tess) {
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<tess_callback>(on_begin));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<tess_callback>(on_edge_flag));
  gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<tess_callback>(on_end));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<tess_callback>(on_vertex));
  gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<tess_callback>(on_combine));
  gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<tess_callback>(on_error));
}

void run_tessellator(const std::vector<point2>& ring, tessellation& result) {
  std::vector<GLdouble> coords;
  std::vector<int> indices(ring.size());
  for (std::size_t i = 0; i < ring.size(); ++i) {
    coords.insert(coords.end(),
                  {static_cast<GLdouble>(ring[i].x), static_cast<GLdouble>(ring[i].y), 0.0});
    indices[i] = static_cast<int>(i);
  }
  GLUtesselator* tess = gluNewTess();
  set_callbacks(tess);
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0, 0, 1);  // the plane is known; don't let collinear runs confuse a guess
  gluTessBeginPolygon(tess, &result);
  gluTessBeginContour(tess);
  for (std::size_t i = 0; i < ring.size(); ++i) gluTessVertex(tess, &coords[3 * i], &indices[i]);
  gluTessEndContour(tess);
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
}

std::int64_t triangle_area_sum(const std::vector<point2>& ring,
                               const std::vector<index_triangle>& tris) {
  std::int64_t sum = 0;
  for (const index_triangle& t : tris)
    sum += std::llabs(twice_signed_area({ring[t.a], ring[t.b], ring[t.c]}));
  return sum;
}
}  // namespace

bool triangulate(const std::vector<point2>& ring, std::vector<index_triangle>& out,
                 std::string& why) {
  tessellation result;
  run_tessellator(ring, result);
  if (result.error != 0) {
    why = std::string("the tessellator failed: ") +
          reinterpret_cast<const char*>(gluErrorString(result.error));
    return false;
  }
  if (result.made_new_points || result.corners.size() % 3 != 0) {
    why = "it overlaps itself (the tessellator had to add points where edges cross)";
    return false;
  }
  // The tessellator emits a sliver of no area where a point lies exactly on
  // the line between two others. Drawn, it shows nothing; in the level it
  // would be a line the game collides with, so it is left out.
  out.clear();
  for (std::size_t k = 0; k < result.corners.size(); k += 3) {
    index_triangle t{result.corners[k], result.corners[k + 1], result.corners[k + 2]};
    if (twice_signed_area({ring[t.a], ring[t.b], ring[t.c]}) != 0) out.push_back(t);
  }
  // The pieces must cover the ring exactly once: a sum that differs means
  // overlapping or missing pieces.
  if (triangle_area_sum(ring, out) != std::llabs(twice_signed_area(ring))) {
    why = "the tessellator's triangles do not cover it exactly";
    return false;
  }
  return true;
}
