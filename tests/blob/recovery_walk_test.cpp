// The walk out of terrain taken many steps at a time against the same walk
// one step at a time, through box-shaped terrain: the same floats, bit for
// bit, and the same count of steps, for tens of thousands of walks.
// Starts lie anywhere from zero to millions of pixels, on both sides of
// zero, right at and around powers of two, and the steps include those
// whose rounding lands exactly halfway between two floats, the case where
// steps stop being all alike.
#include "blob/recovery_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "level/index/blob_questions.h"
#include "shell/angles.h"
#include "support/test_depth.h"

namespace {
constexpr int LIMIT = 10000;

bool inside(const solid_box& box, float x, float y) {
  return box.holds(static_cast<int>(x), static_cast<int>(y));
}

struct walk_end {
  float x, y;
  int walked;
};

// The recovery loop as the blob ran it before: ask, then one step.
walk_end one_at_a_time(float x, float y, double sx, double sy, const solid_box& box) {
  int walked = 0;
  for (; inside(box, x, y) && walked < LIMIT; ++walked) {
    x = walk_one_step(x, sx);
    y = walk_one_step(y, sy);
  }
  return {x, y, walked};
}

walk_end many_at_a_time(float x, float y, double sx, double sy, const solid_box& box) {
  int walked = 0;
  while (inside(box, x, y) && walked < LIMIT)
    walked += walk_through_solid(x, y, sx, sy, box, LIMIT - walked);
  return {x, y, walked};
}

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class RecoveryWalk : public ::testing::Test {
 protected:
  std::mt19937_64 random_{77};
  double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // Somewhere a centre can be: small, large, near powers of two.
  float coordinate() {
    switch (pick(0, 3)) {
      case 0:
        return static_cast<float>(uniform(-40, 40));
      case 1:
        return static_cast<float>(uniform(-70000, 70000));
      case 2: {
        double edge = std::ldexp(1.0, pick(2, 22)) * (pick(0, 1) ? 1 : -1);
        return static_cast<float>(edge + uniform(-30, 30));
      }
      default:
        return static_cast<float>(uniform(-3e6, 3e6));
    }
  }

  // A unit step as the game makes one, or one whose rounding to float ties
  // in a binade the walk passes through.
  double step_part(double along) {
    if (pick(0, 4) == 0)
      return std::ldexp(2.0 * pick(0, 8) + 1, -pick(4, 25)) * (pick(0, 1) ? 1 : -1);
    return along;
  }

  void expect_same_walk(float x, float y, double sx, double sy, const solid_box& box) {
    walk_end plain = one_at_a_time(x, y, sx, sy, box);
    walk_end fast = many_at_a_time(x, y, sx, sy, box);
    ASSERT_TRUE(same_bits(plain.x, fast.x) && same_bits(plain.y, fast.y) &&
                plain.walked == fast.walked)
        << "from (" << x << ", " << y << ") by (" << sx << ", " << sy << "): one at a time to ("
        << plain.x << ", " << plain.y << ") in " << plain.walked << ", many at a time to ("
        << fast.x << ", " << fast.y << ") in " << fast.walked;
  }
};
}  // namespace

TEST_F(RecoveryWalk, ManyStepsAtOnceGiveTheBitsOfOneAtATime) {
  for (int k = deep_or(30000, 3000); k > 0; --k) {
    float x = coordinate(), y = coordinate();
    double direction = pick(0, 1) ? pick(-720, 720) : uniform(-1000, 1000);
    double sx = step_part(lengthdir_x(1, direction)), sy = step_part(lengthdir_y(1, direction));
    // A box around the start, from a pixel to beyond the walk's reach.
    int reach = pick(0, 2) == 0 ? pick(0, 3) : pick(0, 12000);
    solid_box box;
    box.left = static_cast<int>(std::floor(x)) - pick(0, reach);
    box.right = static_cast<int>(std::floor(x)) + pick(0, reach);
    box.top = static_cast<int>(std::floor(y)) - pick(0, reach);
    box.bottom = static_cast<int>(std::floor(y)) + pick(0, reach);
    expect_same_walk(x, y, sx, sy, box);
  }
}

TEST_F(RecoveryWalk, StepsThatStandStillAndStepsOfTheWholeLimit) {
  solid_box everywhere;
  everywhere.left = everywhere.top = -2000000000;
  everywhere.right = everywhere.bottom = 2000000000;
  // A step too small to move the float: the walk runs to its limit in place.
  expect_same_walk(1000.5f, -3.25f, 6.123233995736766e-17, -1, everywhere);
  expect_same_walk(0.0f, -0.0f, 1e-30, -1e-30, everywhere);
  // Straight through zero and through every binade up to 2^13.
  expect_same_walk(-5000.0f, 0.75f, 1, 0, everywhere);
  expect_same_walk(-0.5f, -5000.0f, 0.6, 0.8, everywhere);
  // Exact ties at float spacing in the binade of 1024: steps alternate.
  expect_same_walk(1024.0f, 2047.0f, std::ldexp(1.0, -14), -std::ldexp(3.0, -14), everywhere);
  // Asked for no steps, the walk takes none; for one, exactly one.
  float x = 10, y = 10;
  EXPECT_EQ(walk_through_solid(x, y, 1, 0, everywhere, 0), 0);
  EXPECT_EQ(x, 10.0f);
  EXPECT_EQ(walk_through_solid(x, y, 1, 0, everywhere, 1), 1);
  EXPECT_EQ(x, 11.0f);
}
