// Simple-ring checks and the tessellator's split of polygons into triangles.
#include "polygon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

namespace {
std::int64_t covered_area(const std::vector<point2>& ring,
                          const std::vector<index_triangle>& pieces) {
  std::int64_t sum = 0;
  for (const index_triangle& t : pieces)
    sum += std::llabs(twice_signed_area({ring[t.a], ring[t.b], ring[t.c]}));
  return sum;
}

void expect_exact_split(const std::vector<point2>& ring) {
  std::vector<index_triangle> pieces;
  std::string why;
  ASSERT_TRUE(triangulate(ring, pieces, why)) << why;
  EXPECT_LE(pieces.size(), ring.size() - 2);
  EXPECT_EQ(covered_area(ring, pieces), std::llabs(twice_signed_area(ring)));
  for (const index_triangle& t : pieces) {
    for (int corner : {t.a, t.b, t.c})
      EXPECT_TRUE(corner >= 0 && corner < static_cast<int>(ring.size()));
    EXPECT_NE(twice_signed_area({ring[t.a], ring[t.b], ring[t.c]}), 0) << "a sliver of no area";
  }
}
}  // namespace

TEST(Polygon, ConcaveRingsSplitIntoPiecesThatCoverThemExactly) {
  std::vector<point2> u_shape = {{0, 0},  {30, 0},  {30, 100},  {70, 100},
                                 {70, 0}, {100, 0}, {100, 130}, {0, 130}};
  expect_exact_split(u_shape);
  std::vector<point2> reversed(u_shape.rbegin(), u_shape.rend());
  expect_exact_split(reversed);
  // An overhang: a ground block with a shelf sticking out to the left, whose
  // underside lies open.
  expect_exact_split({{0, 0}, {200, 0}, {200, 300}, {100, 300}, {100, 40}, {-150, 40}, {-150, 0}});
  // A spiral-ish ring with many reflex corners.
  expect_exact_split({{0, 0},
                      {60, 0},
                      {60, 60},
                      {20, 60},
                      {20, 20},
                      {40, 20},
                      {40, 40},
                      {30, 40},
                      {30, 50},
                      {50, 50},
                      {50, 10},
                      {10, 10},
                      {10, 70},
                      {0, 70}});
}

TEST(Polygon, CollinearPointsAlongAnEdgeAreKept) {
  // A hill's foot drawn with several points on one straight line.
  std::vector<point2> ring = {{0, 100}, {50, 100}, {100, 100}, {150, 100}, {75, 20}};
  std::vector<index_triangle> pieces;
  std::string why;
  ASSERT_TRUE(triangulate(ring, pieces, why)) << why;
  EXPECT_EQ(covered_area(ring, pieces), std::llabs(twice_signed_area(ring)));
}

TEST(Polygon, RingsThatOverlapThemselvesAreNamed) {
  EXPECT_EQ(ring_problem({{0, 0}, {100, 100}, {100, 0}, {0, 100}}),
            "it overlaps itself: edge 1-2 crosses or touches edge 3-4");
  // Touching at a corner: point 5 lies on edge 1-2.
  EXPECT_NE(ring_problem({{0, 0}, {100, 0}, {100, 50}, {60, 50}, {50, 0}, {0, 50}})
                .find("crosses or touches"),
            std::string::npos);
  // A spike that runs back along its own edge.
  EXPECT_EQ(ring_problem({{0, 0}, {100, 0}, {50, 0}, {50, 50}}),
            "it overlaps itself: it folds back on itself at point 2");
  EXPECT_EQ(ring_problem({{0, 0}, {50, 0}, {100, 0}, {70, 0}}).substr(0, 16), "it overlaps itse");
}

TEST(Polygon, RingsWithoutAreaOrPointsAreRefused) {
  EXPECT_EQ(ring_problem({{0, 0}, {10, 10}}), "it has 2 points; a polygon needs 3");
  EXPECT_EQ(ring_problem({{0, 0}, {10, 10}, {20, 20}, {30, 30}}).substr(0, 18),
            "it overlaps itself");
  EXPECT_EQ(ring_problem({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), "");
}

TEST(Polygon, ExtremeCoordinatesStayExact) {
  // Corner to corner across the whole range a level file holds: the
  // crossing test must not overflow.
  EXPECT_EQ(ring_problem({{-32639, -32639}, {32639, 32639}, {32639, -32639}, {-32639, 32639}})
                .substr(0, 18),
            "it overlaps itself");
  // Point 4 lies exactly on the line from point 5 to point 2: the
  // tessellator's sliver along that line must not reach the level.
  expect_exact_split({{-32639, -32639}, {32639, -32639}, {32639, 32639}, {0, 0}, {-32639, 32639}});
}
