#include "shell/angles.h"

#include <cmath>

namespace {
constexpr double CIRCLE = 3.141592653589793;
constexpr double DEGREE = 0.017453292519943295;  // radians per degree

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

// atan of the slope gives (-90, 90); the two corrections move the left half
// plane to (90, 270) and the lower-right quadrant to (270, 360). A vertical
// line divides by zero on purpose: +-infinity gives +-90, and coincident
// points give NaN, which callers must handle.
double point_direction(double x1, double y1, double x2, double y2) {
  double dx = x2 - x1;
  double dy = -(y2 - y1);
  double r = std::atan(dy / dx) / DEGREE;
  if (dx < 0) r += 180;
  if (dx > 0 && dy < 0) r += 360;
  return r;
}

double point_distance(double x1, double y1, double x2, double y2) {
  if (x2 >= x1) return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  if (x2 < x1) return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
  return NAN;
}
