// The point-in-terrain test and the triangle list.
#include "level/terrain.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class Terrain : public ::testing::Test {
 protected:
  void TearDown() override { freeCollisions(); }
};

struct point {
  int x, y;
};
}  // namespace

TEST_F(Terrain, RightTriangleCollidesInsideAndOnItsEdges) {
  addVertex(0, 0, 10, 0, 0, 10);
  for (point p : std::vector<point>{{3, 3}, {0, 0}, {10, 0}, {0, 10}, {5, 5}, {0, 7}, {7, 0}})
    EXPECT_TRUE(collideAll(p.x, p.y)) << p.x << "," << p.y;
  for (point p : std::vector<point>{{6, 5}, {5, 6}, {11, 0}, {-1, 0}, {0, 11}, {-1, -1}})
    EXPECT_FALSE(collideAll(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(Terrain, BothWindingsGiveTheSameAnswers) {
  for (int px = -2; px <= 12; ++px)
    for (int py = -2; py <= 12; ++py)
      EXPECT_EQ(collideTriangleSpecial(0, 0, 10, 0, 0, 10, px, py),
                collideTriangleSpecial(0, 0, 0, 10, 10, 0, px, py))
          << px << "," << py;
}

TEST_F(Terrain, DegenerateTriangleCollidesOnlyBetweenItsCorners) {
  addVertex(0, 0, 5, 0, 10, 0);
  EXPECT_TRUE(collideAll(7, 0));
  EXPECT_TRUE(collideAll(10, 0));
  EXPECT_FALSE(collideAll(7, 1));
  EXPECT_FALSE(collideAll(11, 0));
  EXPECT_FALSE(collideAll(-1, 0));
  // The area test alone accepts the whole line; the box test narrows it.
  EXPECT_EQ(collideTriangleSpecial(0, 0, 5, 0, 10, 0, 11, 0), 1);
}

TEST_F(Terrain, HugeTrianglesAreExact) {
  // Areas of this size overflow 32 bits; the test must still be exact.
  const int M = 32639;
  addVertex(-M, -M, M, -M, -M, M);
  EXPECT_TRUE(collideAll(0, 0));
  EXPECT_TRUE(collideAll(M, -M));
  EXPECT_TRUE(collideAll(0, -1));
  EXPECT_FALSE(collideAll(1, 0));  // just beyond the long edge x + y = 0
  EXPECT_FALSE(collideAll(M, M));
}

TEST_F(Terrain, FlagsDecideWhatCollides) {
  primitive* hidden = addVertex(0, 0, 10, 0, 0, 10);
  hidden->drawn = false;
  EXPECT_TRUE(collideAll(1, 1)) << "a hidden triangle still collides";
  primitive* ghost = addVertex(100, 100, 110, 100, 100, 110);
  ghost->solid = false;
  EXPECT_FALSE(collideAll(101, 101));
}

TEST_F(Terrain, ListKeepsCreationOrderAndDefaults) {
  EXPECT_FALSE(collideAll(0, 0)) << "empty list";
  primitive* a = addVertex(1, 2, 3, 4, 5, 6);
  EXPECT_EQ(start_ptr, a);
  primitive* b = addVertex(0, 0, 1, 0, 0, 1);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, nullptr);
  EXPECT_EQ(a->x1, 1);
  EXPECT_EQ(a->y1, 2);
  EXPECT_EQ(a->x3, 5);
  EXPECT_EQ(a->y3, 6);
  for (int c : {a->r1, a->g1, a->b1, a->r2, a->g2, a->b2, a->r3, a->g3, a->b3}) EXPECT_EQ(c, 255);
  EXPECT_TRUE(a->drawn && a->solid);
  addColour(a, -56, 2, 3, 4, 5, 6, 7, 8, 9);
  EXPECT_EQ(a->r1, -56);
  EXPECT_EQ(a->b3, 9);
  EXPECT_EQ(a->x1, 1) << "colours change nothing else";
}

TEST_F(Terrain, FreeCollisionsEmptiesTheList) {
  addVertex(0, 0, 10, 0, 0, 10);
  freeCollisions();
  EXPECT_EQ(start_ptr, nullptr);
  EXPECT_FALSE(collideAll(1, 1));
  freeCollisions();  // on an empty list: nothing happens
  EXPECT_EQ(start_ptr, nullptr);
}
