// The angle functions: exact values the blob relies on, including the odd
// ones (negative zero, -90 for straight down, NaN for coincident points).
#include "shell/angles.h"

#include <gtest/gtest.h>

#include <cmath>

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
