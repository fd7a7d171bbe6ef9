// The test of a point against one triangle, which every answer about the
// terrain comes from: the triangle list's own (terrain.cpp) and every layer
// of the terrain index beneath it. Exact for every corner addVertex accepts.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace triangle_test {

// Corners addVertex accepts, in world pixels, each way: the area test's
// three partial areas are at most 8 L^2 each, so their sum stays within 64
// bits for any point within the same range.
constexpr std::int64_t CORNER_LIMIT = std::int64_t{1} << 29;
inline bool corner_in_range(std::int64_t v) { return v >= -CORNER_LIMIT && v <= CORNER_LIMIT; }

// Twice the signed area of (a, b, p): positive on one side of the line
// through a and b, negative on the other, 0 on it. Linear in p.
inline std::int64_t edge_side(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                              std::int64_t px, std::int64_t py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// 1 when (px, py) lies inside the triangle or on its boundary, either
// winding, else 0: the three triangles the point makes with the sides add
// up exactly to the whole inside, and overshoot outside. A degenerate
// triangle accepts its whole line.
inline int area_test(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py) {
  std::int64_t whole = std::llabs(edge_side(x1, y1, x2, y2, x3, y3));
  std::int64_t parts = std::llabs(edge_side(px, py, x1, y1, x2, y2)) +
                       std::llabs(edge_side(px, py, x2, y2, x3, y3)) +
                       std::llabs(edge_side(px, py, x3, y3, x1, y1));
  return parts == whole ? 1 : 0;
}

// The list walk's test of one triangle, solid flag aside: the point lies in
// the triangle's bounding box, edges included, and passes the area test,
// which the box narrows to the segment for a degenerate triangle.
inline bool box_and_area_hold(int x1, int y1, int x2, int y2, int x3, int y3, int px, int py) {
  if ((x1 < px && x2 < px && x3 < px) || (x1 > px && x2 > px && x3 > px) ||
      (y1 < py && y2 < py && y3 < py) || (y1 > py && y2 > py && y3 > py))
    return false;
  return area_test(x1, y1, x2, y2, x3, y3, px, py) != 0;
}

}  // namespace triangle_test
