// The blob's polar arithmetic was made faster (unit vectors looked up and
// remembered, distances and directions chosen rather than branched); these
// check it against the plain formulas it replaced, bit for bit, signs of
// zero and NaN payloads included, on special and random arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "shell/angles.h"
#include "support/test_depth.h"

namespace {
bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The compiler may give a NaN either sign when it folds the plain formulas
// here; what the game's own functions give among themselves is exact.
bool same_bits_or_nans(double a, double b) {
  return same_bits(a, b) || (std::isnan(a) && std::isnan(b));
}

double plain_lengthdir_x(double length, double direction) {
  return portable_cos(direction * 3.141592653589793 / 180) * length;
}
double plain_lengthdir_y(double length, double direction) {
  return portable_sin(direction * 3.141592653589793 / -180) * length;
}

double plain_point_direction(double x1, double y1, double x2, double y2) {
  double dx = x2 - x1;
  double dy = -(y2 - y1);
  double r = portable_atan(dy / dx) / 0.017453292519943295;
  if (dx < 0) r += 180;
  if (dx > 0 && dy < 0) r += 360;
  return r;
}

double plain_point_distance(double x1, double y1, double x2, double y2) {
  if (x2 >= x1) return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  if (x2 < x1) return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
  return NAN;
}

// Arguments that tell implementations apart: zeros of both signs, whole
// degrees and the ends of their table, tiny and huge values, infinities
// and NaN, then random ones.
std::vector<double> arguments() {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> v = {0.0,   -0.0,   1.0,   -1.0,  90.0,     270.0,    180.0,  -90.0,
                           720.0, -720.0, 721.0, 720.5, -720.001, 1e-300,   5e-324, 1e300,
                           inf,   -inf,   NAN,   0.5,   17.25,    359.9999, -1e-17, 3e9};
  std::mt19937_64 random(4);
  std::uniform_real_distribution<double> wide(-1000, 1000);
  for (int k = 0; k < 3000; ++k) v.push_back(k % 3 ? wide(random) : std::round(wide(random)));
  return v;
}
}  // namespace

TEST(PolarBits, UnitVectorsAndTheirMemoAreTheLengthdirFactors) {
  std::vector<double> directions = arguments();
  direction_memo memo;
  for (double d : directions)
    for (double length : {1.0, 0.25, 15.5, -3.0, 0.0}) {
      unit_vector u = unit_of(d);
      ASSERT_TRUE(same_bits(u.x * length, lengthdir_x(length, d))) << d << " " << length;
      ASSERT_TRUE(same_bits(u.y * length, lengthdir_y(length, d))) << d << " " << length;
      ASSERT_TRUE(same_bits_or_nans(lengthdir_x(length, d), plain_lengthdir_x(length, d))) << d;
      ASSERT_TRUE(same_bits_or_nans(lengthdir_y(length, d), plain_lengthdir_y(length, d))) << d;
      // Asked again, asked after a neighbour, and after the other zero.
      for (double asked : {d, d, -d, d}) {
        unit_vector m = memo.of(asked), plain = unit_of(asked);
        ASSERT_TRUE(same_bits(m.x, plain.x) && same_bits(m.y, plain.y)) << asked;
      }
    }
}

TEST(PolarBits, DistancesAndDirectionsAreThePlainFormulas) {
  std::vector<double> values = arguments();
  std::mt19937_64 random(5);
  auto pick = [&] { return values[random() % values.size()]; };
  for (int k = 0; k < 200000; ++k) {
    double x1 = pick(), y1 = pick(), x2 = k % 5 == 0 ? x1 : pick(), y2 = k % 7 == 0 ? y1 : pick();
    ASSERT_TRUE(
        same_bits_or_nans(point_distance(x1, y1, x2, y2), plain_point_distance(x1, y1, x2, y2)))
        << x1 << "," << y1 << " " << x2 << "," << y2;
    ASSERT_TRUE(
        same_bits_or_nans(point_direction(x1, y1, x2, y2), plain_point_direction(x1, y1, x2, y2)))
        << x1 << "," << y1 << " " << x2 << "," << y2;
  }
}

// The unit vector is looked up for whole degrees and remembered per
// direction; either way it must be exactly what lengthdir_x and lengthdir_y
// give, on a million directions of every size the blob's state can hold.
TEST(PolarBits, UnitVectorsAreTheLengthdirResults) {
  std::mt19937_64 random(6);
  std::uniform_real_distribution<double> degrees(-1000, 1000);
  for (int k = 0, points = deep_or(1000000, 200000); k < points; ++k) {
    double d = std::ldexp(degrees(random), -static_cast<int>(random() % 40)) * (k % 7 ? 1 : 1e6);
    unit_vector u = unit_of(d);
    ASSERT_TRUE(same_bits(u.x, lengthdir_x(1, d)) && same_bits(u.y, lengthdir_y(1, d))) << d;
  }
}
