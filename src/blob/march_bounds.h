// The pixels that a rim point's march from the centre can visit, so that a
// march through a rectangle known to be empty can be skipped: it would ask
// and change nothing.
#pragma once

#include <algorithm>
#include <cmath>

#include "blob/pixel.h"

struct pixel_rectangle {
  int left, top, right, bottom;  // inclusive
};

// The march takes ceil(dist) unit steps from the centre towards a point at
// (to_x, to_y), dist away. Its unit step is the direction to the point
// turned into degrees and back: it differs from (to - centre) / dist by a
// few units in the last place, so every marched point lies within a hair
// of the segment from the centre to centre + ceil(dist) * (to - centre) /
// dist, and the rounding of each step adds at most 2^-23 pixels below 2^31.
// The margin allowed here is far more than both. False for marches too long
// to be worth it, and too far out for that margin.
inline bool march_bounds(double centre_x, double centre_y, double to_x, double to_y, double dist,
                         pixel_rectangle& pixels) {
  constexpr double LONGEST = 48;       // pixels: longer marches are rare and not worth it
  constexpr double FARTHEST = 0x1p30;  // pixels from the origin
  if (!(dist > 0 && dist <= LONGEST) || !(std::fabs(centre_x) < FARTHEST) ||
      !(std::fabs(centre_y) < FARTHEST))
    return false;
  double reach = std::ceil(dist) / dist;
  double end_x = centre_x + (to_x - centre_x) * reach, end_y = centre_y + (to_y - centre_y) * reach;
  constexpr double MARGIN = 0x1p-8;  // pixels
  pixels = {
      to_pixel(std::min(centre_x, end_x) - MARGIN), to_pixel(std::min(centre_y, end_y) - MARGIN),
      to_pixel(std::max(centre_x, end_x) + MARGIN), to_pixel(std::max(centre_y, end_y) + MARGIN)};
  return true;
}
