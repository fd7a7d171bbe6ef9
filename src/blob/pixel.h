// Where a floating-point position meets the integer terrain or view it
// becomes a whole pixel by truncation toward zero (not rounding, not floor):
// -0.5 and 0.5 both land on pixel 0. The simulation never hands NaN here.
#pragma once

#include <cassert>
#include <cmath>

inline int to_pixel(double v) {
  assert(std::isfinite(v) && v > -2147483648.0 && v < 2147483648.0 &&
         "a position must be a finite number within the int range before it meets the terrain");
  return static_cast<int>(v);
}
