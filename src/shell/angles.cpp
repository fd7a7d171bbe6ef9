#include "shell/angles.h"

#include <cmath>

#include "maths/portable_maths.h"

namespace {
constexpr double CIRCLE = 3.141592653589793;

// Kept out of line so that every caller runs the very same instructions:
// inlined side by side, the compiler may share direction * CIRCLE / 180
// between the two and negate it for the sine, which is exact for numbers
// but flips the sign of a NaN.
[[gnu::noinline]] double cos_of_degrees(double direction) {
  return portable_cos(direction * CIRCLE / 180);
}

// y grows downwards on screen, so "up" (90 degrees) must give a negative y.
[[gnu::noinline]] double sin_of_degrees_down(double direction) {
  return portable_sin(direction * CIRCLE / -180);
}
}  // namespace

namespace angles_detail {
whole_degree_table::whole_degree_table() {
  for (int d = -WHOLE_DEGREES; d <= WHOLE_DEGREES; ++d)
    units[d + WHOLE_DEGREES] = {cos_of_degrees(d), sin_of_degrees_down(d)};
}
const whole_degree_table whole_degrees;

unit_vector computed_unit(double direction) {
  return {cos_of_degrees(direction), sin_of_degrees_down(direction)};
}
}  // namespace angles_detail

double lengthdir_x(double length, double direction) {
  int slot;
  if (angles_detail::whole_degree_slot(direction, slot))
    return angles_detail::whole_degrees.units[slot].x * length;
  return cos_of_degrees(direction) * length;
}

double lengthdir_y(double length, double direction) {
  int slot;
  if (angles_detail::whole_degree_slot(direction, slot))
    return angles_detail::whole_degrees.units[slot].y * length;
  return sin_of_degrees_down(direction) * length;
}
