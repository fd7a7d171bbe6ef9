// The portable maths against the C library's and against the bits it must
// give everywhere. Every result is within 1 ulp of the host library's (a
// wrongly built kernel is far off), the odd and special values are kept,
// and a hash of the bits of three million results is the one measured here,
// in the browser build (whose C library computes the same musl functions)
// and under Wine: a compiler flag that contracts or reorders the arithmetic
// changes it.
#include "maths/portable_maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {
std::uint64_t bits_of(double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

// Distance in representable doubles; both finite or both NaN.
std::uint64_t ulps_apart(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : UINT64_MAX;
  auto ordered = [](double d) {
    std::int64_t i = static_cast<std::int64_t>(bits_of(d));
    return i < 0 ? INT64_MIN - i : i;
  };
  std::int64_t x = ordered(a), y = ordered(b);
  return x > y ? static_cast<std::uint64_t>(x - y) : static_cast<std::uint64_t>(y - x);
}

// The inputs: angles of the game's range in radians, ratios of offsets, and
// now and then a huge or tiny one that takes the long reduction or the
// small-argument path.
struct input_stream {
  std::uint64_t state = 0x9e3779b97f4a7c15u;
  double next() {
    state = state * 6364136223846793005u + 1442695040888963407u;
    double unit = static_cast<double>(state >> 11) / 9007199254740992.0;  // [0, 1)
    switch ((state >> 3) % 8) {
      case 0:
        return std::ldexp(unit - 0.5, static_cast<int>(state % 2000) - 1000);
      case 1:
        return (unit - 0.5) * 200 / ((state >> 20) % 100 + 1);
      default:
        return (unit - 0.5) * 1440 * 3.141592653589793 / 180;
    }
  }
};
}  // namespace

TEST(PortableMaths, NearTheHostLibraryAndTheSameBitsEverywhere) {
  input_stream inputs;
  std::uint64_t hash = 14695981039346656037u;  // FNV-1a, 64-bit
  auto mix = [&hash](double d) {
    std::uint64_t u = bits_of(d);
    for (int b = 0; b < 8; ++b) hash = (hash ^ ((u >> (8 * b)) & 0xff)) * 1099511628211u;
  };
  for (int k = 0; k < 1000000; ++k) {
    double x = inputs.next();
    double s = portable_sin(x), c = portable_cos(x), a = portable_atan(x);
    ASSERT_LE(ulps_apart(s, std::sin(x)), 1u) << "sin " << x;
    ASSERT_LE(ulps_apart(c, std::cos(x)), 1u) << "cos " << x;
    ASSERT_LE(ulps_apart(a, std::atan(x)), 1u) << "atan " << x;
    mix(s);
    mix(c);
    mix(a);
  }
  EXPECT_EQ(hash, 0x7510f715e372056eu);
}

TEST(PortableMaths, SpecialValues) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(bits_of(portable_sin(-0.0)), bits_of(-0.0));
  EXPECT_EQ(bits_of(portable_atan(-0.0)), bits_of(-0.0));
  EXPECT_EQ(portable_cos(0.0), 1.0);
  EXPECT_EQ(portable_atan(inf), 3.141592653589793 / 2);
  EXPECT_EQ(portable_atan(-inf), -3.141592653589793 / 2);
  EXPECT_TRUE(std::isnan(portable_sin(inf)) && std::isnan(portable_cos(-inf)));
  EXPECT_TRUE(std::isnan(portable_atan(std::nan(""))));
  // The residue at a right angle that the blob's lengthdir relies on.
  EXPECT_EQ(portable_cos(90 * 3.141592653589793 / 180), 6.123233995736766e-17);
  EXPECT_EQ(portable_sin(90 * 3.141592653589793 / 180), 1.0);
}
