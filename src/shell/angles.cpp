#include "shell/angles.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double CIRCLE = 3.141592653589793;

double cos_of_degrees(double direction) { return std::cos(direction * CIRCLE / 180); }

// y grows downwards on screen, so "up" (90 degrees) must give a negative y.
double sin_of_degrees_down(double direction) { return std::sin(direction * CIRCLE / -180); }

// The blob asks about whole degrees most of the time: its spokes lie every
// 18 degrees, gravity points at 270 and the springs push along spokes and
// their opposites. Those answers are worked out once, by the very same
// expressions, so a look-up gives exactly the bits the call would. Minus
// zero is left to the call: its sine keeps the sign.
constexpr int WHOLE_DEGREES = 720;  // -720..720
struct whole_degree_table {
  double cos[2 * WHOLE_DEGREES + 1];
  double sin_down[2 * WHOLE_DEGREES + 1];
  whole_degree_table() {
    for (int d = -WHOLE_DEGREES; d <= WHOLE_DEGREES; ++d) {
      cos[d + WHOLE_DEGREES] = cos_of_degrees(d);
      sin_down[d + WHOLE_DEGREES] = sin_of_degrees_down(d);
    }
  }
};
const whole_degree_table whole_degrees;

bool whole_degree_slot(double direction, int& slot) {
  if (!(direction >= -WHOLE_DEGREES && direction <= WHOLE_DEGREES)) return false;
  int d = static_cast<int>(direction);
  if (d != direction || (d == 0 && std::signbit(direction))) return false;
  slot = d + WHOLE_DEGREES;
  return true;
}
}  // namespace

unit_vector unit_of(double direction) {
  int slot;
  if (whole_degree_slot(direction, slot))
    return {whole_degrees.cos[slot], whole_degrees.sin_down[slot]};
  return {cos_of_degrees(direction), sin_of_degrees_down(direction)};
}

const unit_vector& direction_memo::of(double direction) {
  std::uint64_t bits;
  std::memcpy(&bits, &direction, sizeof bits);
  if (!known_ || bits != bits_) {
    unit_ = unit_of(direction);
    bits_ = bits;
    known_ = true;
  }
  return unit_;
}

double lengthdir_x(double length, double direction) {
  int slot;
  if (whole_degree_slot(direction, slot)) return whole_degrees.cos[slot] * length;
  return cos_of_degrees(direction) * length;
}

double lengthdir_y(double length, double direction) {
  int slot;
  if (whole_degree_slot(direction, slot)) return whole_degrees.sin_down[slot] * length;
  return sin_of_degrees_down(direction) * length;
}
