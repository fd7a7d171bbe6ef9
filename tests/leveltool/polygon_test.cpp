// Simple-ring checks and the tessellator's split of polygons into triangles.
#include "polygon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>
#include <utility>

#include "support/plain_ring_check.h"
#include "support/test_depth.h"

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
  EXPECT_GE(pieces.size(), fewest_triangles(ring)) << "the early size check would refuse it";
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

// A mistake that only the closing edge can show: it is crossed by an edge
// other than the first (which is its neighbour), here edge 3-4.
TEST(Polygon, ClosingEdgeCrossedByALaterEdgeIsRefused) {
  std::vector<point2> ring = {{0, 0}, {0, 10}, {5, 10}, {5, -5}, {10, -5}, {10, 0}};
  EXPECT_EQ(ring_problem(ring), "it overlaps itself: edge 3-4 crosses or touches edge 6-1");
  EXPECT_EQ(plain_ring_problem(ring), ring_problem(ring));
  // Only touching it, with a corner on it, is refused too.
  ring[3] = {5, 0};
  EXPECT_EQ(ring_problem(ring), "it overlaps itself: edge 3-4 crosses or touches edge 6-1");
}

namespace {
std::string text_of(const std::vector<point2>& ring) {
  std::ostringstream out;
  for (const point2& p : ring) out << "(" << p.x << "," << p.y << ")";
  return out.str();
}

// Points on a small grid: edges along one line, corners on edges, repeated
// points, vertical and horizontal edges, all far more often than in a
// designer's level; on a larger one, edges that cross in every way.
std::vector<point2> grid_ring(std::mt19937& random) {
  int n = 3 + static_cast<int>(random() % 14);
  int grid = random() % 2 ? 2 + static_cast<int>(random() % 6) : 8 + static_cast<int>(random() % 40);
  std::vector<point2> ring;
  for (int i = 0; i < n; ++i)
    ring.push_back({static_cast<int>(random() % grid), static_cast<int>(random() % grid)});
  return ring;
}

// A star around the origin, simple until one point is moved anywhere.
std::vector<point2> star_ring(std::mt19937& random) {
  int n = 20 + static_cast<int>(random() % 100);
  std::vector<double> angles;
  for (int i = 0; i < n; ++i) angles.push_back((random() % 100000) * 2 * 3.14159265358979 / 100000);
  std::sort(angles.begin(), angles.end());
  std::vector<point2> ring;
  for (double a : angles) {
    double r = 500 + random() % 500;
    ring.push_back({static_cast<int>(r * std::cos(a)), static_cast<int>(r * std::sin(a))});
  }
  if (random() % 2)
    ring[random() % n] = {static_cast<int>(random() % 2000) - 1000,
                          static_cast<int>(random() % 2000) - 1000};
  return ring;
}
}  // namespace

// The sweep against the plain pair-by-pair check: the same verdict and the
// same words, naming the same edges, for rings made to hit the awkward cases.
TEST(Polygon, TheFastCheckSaysWhatThePlainCheckSays) {
  std::mt19937 random(18);
  int simple = 0;
  const int runs = deep_or(12000, 1200);
  for (int run = 0; run < runs; ++run) {
    std::vector<point2> ring = run % 10 ? grid_ring(random) : star_ring(random);
    std::string expected = plain_ring_problem(ring);
    ASSERT_EQ(ring_problem(ring), expected) << text_of(ring);
    simple += expected.empty();
  }
  EXPECT_GT(simple, runs / 30) << "too few simple rings to test the sweep's quiet path";
}

// A ring of 10,881 points makes 10,879 triangles, within what a level file
// holds. A point of its last tooth moved back across the ridge is found
// there, as the plain check finds it.
TEST(Polygon, AHugeSimpleRingIsAcceptedAndALateCrossingFound) {
  std::vector<point2> ring = sawtooth_ring(10881);
  EXPECT_EQ(ring_problem(ring), "");
  std::vector<index_triangle> pieces;
  std::string why;
  ASSERT_TRUE(triangulate(ring, pieces, why)) << why;
  EXPECT_EQ(pieces.size(), 10879u);
  EXPECT_GE(pieces.size(), fewest_triangles(ring));
  EXPECT_GT(fewest_triangles(ring), 5000u);

  std::vector<point2> crossed = sawtooth_ring(2000);
  crossed[1990].x = crossed[10].x;
  EXPECT_EQ(ring_problem(crossed), plain_ring_problem(crossed));
  EXPECT_NE(ring_problem(crossed).find("crosses or touches edge 1990-1991"), std::string::npos)
      << ring_problem(crossed);
}
