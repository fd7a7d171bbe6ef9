#include "polygon.h"

#include <GL/glu.h>
// APIENTRY, GL's calling convention, for the browser's headers too.
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>

#include "ring_sweep.h"

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

// What goes wrong at edge k alone or with the edge before it: k has length
// 0, or k folds back along the edge before it (along the first edge too,
// for the last edge, which closes the ring). Empty when nothing does.
std::string problem_at_edge(const std::vector<point2>& ring, std::size_t k) {
  std::size_t n = ring.size();
  const point2 &from = ring[k], &to = ring[(k + 1) % n];
  if (from == to) return "point " + std::to_string((k + 1) % n + 1) + " repeats the point before it";
  if (k > 0 && folds_back(ring[k - 1], from, to))
    return "it folds back on itself at point " + std::to_string(k + 1);
  if (k == n - 1 && folds_back(from, to, ring[1])) return "it folds back on itself at point 1";
  return "";
}

// The first edge that, drawn in order, meets an earlier edge that is not
// its neighbour, and the first edge it meets; or the first edge that goes
// wrong by itself, whichever comes first. Whether the first k edges meet
// grows with k, so k is found by halving, each step one sweep: O(n log² n)
// for a ring that overlaps itself, one sweep (O(n log n)) for one that does
// not.
std::string crossing_problem(const std::vector<point2>& ring) {
  std::size_t n = ring.size();
  std::size_t bad_alone = 0;  // edges before the first that goes wrong by itself
  std::string alone;
  while (bad_alone < n && (alone = problem_at_edge(ring, bad_alone)).empty()) ++bad_alone;
  if (!chain_meets_itself(ring, bad_alone)) return alone;
  std::size_t fine = 1, meets = bad_alone;  // chains of `fine` edges do not meet; of `meets` do
  while (meets - fine > 1) {
    std::size_t middle = fine + (meets - fine) / 2;
    (chain_meets_itself(ring, middle) ? meets : fine) = middle;
  }
  std::size_t k = meets - 1;
  const point2 &a = ring[k], &b = ring[(k + 1) % n];
  for (std::size_t i = (k == n - 1) ? 1 : 0; i + 1 < k; ++i)
    if (segments_meet(ring[i], ring[i + 1], a, b))
      return edge_name(i, n) + " crosses or touches " + edge_name(k, n);
  return "";  // not reached: the chain of k + 1 edges meets itself only at edge k
}
}  // namespace

std::size_t fewest_triangles(const std::vector<point2>& ring) {
  std::size_t n = ring.size(), convex = 0;
  int winding = twice_signed_area(ring) > 0 ? 1 : -1;
  for (std::size_t i = 0; i < n; ++i)
    if (turn(ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n]) == winding) ++convex;
  return convex > 2 ? convex - 2 : 0;
}

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
