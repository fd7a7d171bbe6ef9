// The angle functions: exact values the blob relies on, including the odd
// ones (negative zero, -90 for straight down, NaN for coincident points).
#include "shell/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

TEST(LengthDir, AxisDirectionsGiveSignedOffsets) {
  EXPECT_EQ(lengthdir_x(10, 0), 10);
  EXPECT_EQ(lengthdir_y(10, 0), 0);
  EXPECT_TRUE(std::signbit(lengthdir_y(10, 0)));  // negative zero
  EXPECT_EQ(lengthdir_y(10, 90), -10);            // up is towards smaller y
  EXPECT_EQ(lengthdir_y(10, 270), 10);
  EXPECT_EQ(lengthdir_x(10, 180), -10);
  EXPECT_EQ(lengthdir_x(1, 180), -1);
  EXPECT_EQ(lengthdir_y(1, 90), -1);
}

TEST(LengthDir, RightAnglesLeaveTinyResidues) {
  EXPECT_DOUBLE_EQ(lengthdir_x(1, 90), 6.123233995736766e-17);
  EXPECT_NE(lengthdir_x(1, 270), 0);
  EXPECT_LT(std::fabs(lengthdir_x(1, 270)), 1e-15);
  EXPECT_NE(lengthdir_y(1, 180), 0);
  EXPECT_LT(std::fabs(lengthdir_y(1, 180)), 1e-15);
}

TEST(LengthDir, DirectionsAreNotNormalised) {
  EXPECT_NEAR(lengthdir_x(3, 450), lengthdir_x(3, 90), 1e-12);
  EXPECT_NEAR(lengthdir_y(3, 450), lengthdir_y(3, 90), 1e-12);
  EXPECT_NEAR(lengthdir_x(3, -90), lengthdir_x(3, 270), 1e-12);
  EXPECT_NEAR(lengthdir_y(3, -90), lengthdir_y(3, 270), 1e-12);
}

// Whole degrees are looked up rather than computed; the answers must be the
// computed ones bit for bit, signs of zero and NaN included, on and off the
// table and at its ends (any NaN stands for a NaN).
TEST(LengthDir, LookedUpWholeDegreesAreTheComputedBits) {
  const double pi = 3.141592653589793;
  auto same_bits = [](double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
  };
  std::vector<double> directions = {-0.0,
                                    0.0,
                                    0.5,
                                    -0.5,
                                    720.0000000001,
                                    -720.5,
                                    721,
                                    -721,
                                    1e9,
                                    std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity()};
  for (int d = -725; d <= 725; ++d) directions.push_back(d);
  for (double d : directions)
    for (double length : {1.0, 0.75, -3.5, 0.0}) {
      EXPECT_TRUE(same_bits(lengthdir_x(length, d), portable_cos(d * pi / 180) * length)) << d;
      EXPECT_TRUE(same_bits(lengthdir_y(length, d), portable_sin(d * pi / -180) * length)) << d;
    }
}

TEST(PointDirection, EachQuadrantLandsInItsRange) {
  EXPECT_EQ(point_direction(0, 0, 1, 0), 0);
  EXPECT_EQ(point_direction(0, 0, -1, 0), 180);
  EXPECT_DOUBLE_EQ(point_direction(0, 0, 1, -1), 45);
  EXPECT_DOUBLE_EQ(point_direction(0, 0, -1, -1), 135);
  EXPECT_DOUBLE_EQ(point_direction(0, 0, -1, 1), 225);
  EXPECT_DOUBLE_EQ(point_direction(0, 0, 1, 1), 315);
}

TEST(PointDirection, VerticalAndCoincidentPoints) {
  EXPECT_EQ(point_direction(0, 0, 0, -5), 90);
  EXPECT_EQ(point_direction(0, 0, 0, 5), -90);  // not 270: no correction applies
  EXPECT_TRUE(std::isnan(point_direction(2, 3, 2, 3)));
  EXPECT_EQ(point_direction(0, 7, 4, 7), 0);  // negative zero, equal to 0
}

TEST(PointDistance, IsSymmetricAndExact) {
  EXPECT_EQ(point_distance(0, 0, 3, 4), 5);
  EXPECT_EQ(point_distance(3, 4, 0, 0), 5);
  EXPECT_EQ(point_distance(1, 1, 1, 1), 0);
  EXPECT_EQ(point_distance(-2, 0, 1, 4), 5);
}
