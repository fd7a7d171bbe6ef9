// Conversions between polar motion (length, direction in degrees) and
// Cartesian offsets in world pixels. Directions: 0 right, 90 up (towards
// smaller y), counter-clockwise on screen, never normalised.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "maths/portable_maths.h"

double lengthdir_x(double length, double direction);
double lengthdir_y(double length, double direction);

// What lengthdir_x and lengthdir_y multiply the length by: the cosine and
// minus the sine of the direction. lengthdir_x(l, d) is exactly
// unit_of(d).x * l, and lengthdir_y(l, d) exactly unit_of(d).y * l.
struct unit_vector {
  double x, y;
};

namespace angles_detail {
// The blob asks about whole degrees most of the time: its spokes lie every
// 18 degrees, gravity points at 270 and the springs push along spokes and
// their opposites. Those answers are worked out once, by the very same
// expressions, so a look-up gives exactly the bits the call would. Minus
// zero is left to the call: its sine keeps the sign.
constexpr int WHOLE_DEGREES = 720;  // -720..720
struct whole_degree_table {
  whole_degree_table();
  unit_vector units[2 * WHOLE_DEGREES + 1];
};
extern const whole_degree_table whole_degrees;

inline bool whole_degree_slot(double direction, int& slot) {
  if (!(direction >= -WHOLE_DEGREES && direction <= WHOLE_DEGREES)) return false;
  int d = static_cast<int>(direction);
  if (d != direction || (d == 0 && std::signbit(direction))) return false;
  slot = d + WHOLE_DEGREES;
  return true;
}

unit_vector computed_unit(double direction);
}  // namespace angles_detail

inline unit_vector unit_of(double direction) {
  int slot;
  if (angles_detail::whole_degree_slot(direction, slot))
    return angles_detail::whole_degrees.units[slot];
  return angles_detail::computed_unit(direction);
}

// The unit vector of the last direction asked about, for a caller that
// asks about one direction again and again: a blob's rim point moves along
// its direction in one tick and adds an impulse to it the next. Keyed by
// the direction's exact bits, so it gives exactly what unit_of would.
class direction_memo {
 public:
  const unit_vector& of(double direction) {
    std::uint64_t bits;
    std::memcpy(&bits, &direction, sizeof bits);
    if (!known_ || bits != bits_) {
      unit_ = unit_of(direction);
      bits_ = bits;
      known_ = true;
    }
    return unit_;
  }

 private:
  std::uint64_t bits_ = 0;
  bool known_ = false;
  unit_vector unit_{};
};

// Direction from point 1 to point 2 in degrees: [0, 90) up-right,
// (90, 270) leftwards, (270, 360) down-right; straight down gives -90 and
// coincident points give NaN.
//
// atan of the slope gives (-90, 90); the two corrections move the left half
// plane to (90, 270) and the lower-right quadrant to (270, 360). A vertical
// line divides by zero on purpose: +-infinity gives +-90, and coincident
// points give NaN, which callers must handle. The corrections are chosen,
// not added as zero, so that a negative zero stays one. Inline, like
// point_distance: a blob asks both a hundred times a tick.
inline double point_direction(double x1, double y1, double x2, double y2) {
  constexpr double DEGREE = 0.017453292519943295;  // radians per degree
  double dx = x2 - x1;
  double dy = -(y2 - y1);
  double r = portable_atan(dy / dx) / DEGREE;
  r = dx < 0 ? r + 180 : r;
  return dx > 0 && dy < 0 ? r + 360 : r;
}

// The difference in x is taken in the order that makes it positive; that
// gives the same bits either way (negating a difference is exact and a
// square has no sign), so only an x that is not a number tells the two
// orders apart: then the distance is NaN.
inline double point_distance(double x1, double y1, double x2, double y2) {
  if (!(x2 >= x1) && !(x2 < x1)) return NAN;
  bool forward = x2 >= x1;
  double dx = forward ? x2 - x1 : x1 - x2;
  double dy = forward ? y2 - y1 : y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}
