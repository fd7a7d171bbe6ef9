// Polygons of the level sources: the check that a ring is simple (it neither
// crosses nor touches itself) and its split into triangles by the GLU
// tessellator, which handles concave rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct point2 {
  int x, y;  // world pixels
  bool operator==(const point2& o) const { return x == o.x && y == o.y; }
};

struct index_triangle {
  int a, b, c;  // indices into the ring
};

// Twice the signed area of the ring: positive when it runs clockwise on the
// screen (y grows downward), negative the other way.
std::int64_t twice_signed_area(const std::vector<point2>& ring);

// The fewest triangles any split of the ring into triangles with corners
// among its points can have: two fewer than its convex corners. (Each
// triangle's angles add up to 180 degrees. They fill every corner of the
// ring; a straight or concave corner may be filled by a triangle's side
// running through it rather than by corners, but a convex one cannot.)
// Linear time: the check that tells early that a ring does not fit in a
// level file.
std::size_t fewest_triangles(const std::vector<point2>& ring);

// Empty when the ring is simple and has an area; otherwise why not, naming
// points by their 1-based numbers ("edge 2-3 crosses edge 5-6").
std::string ring_problem(const std::vector<point2>& ring);

// Splits a simple ring (see ring_problem) into triangles whose corners are
// the ring's own points, together covering exactly its area. Returns false
// with the reason when the tessellator cannot do that.
bool triangulate(const std::vector<point2>& ring, std::vector<index_triangle>& out,
                 std::string& why);
