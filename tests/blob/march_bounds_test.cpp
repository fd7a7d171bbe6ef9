// The rectangle a rim point's march from the centre can visit holds every
// pixel the march visits, taken the way the blob takes it: ceil(dist) unit
// steps along the direction to the point, turned into degrees and back.
// Marches run mostly across or mostly down, so a rectangle turned on its
// side would miss them; centres lie near zero, where pixels truncate
// towards it, and far out.
#include "blob/march_bounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "shell/angles.h"

TEST(MarchBounds, HoldEveryPixelTheMarchVisits) {
  std::mt19937 random(7);
  auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  int checked = 0;
  for (int k = 0; k < 20000; ++k) {
    double cx = k % 3 == 0 ? uniform(-3, 3) : uniform(-1e6, 1e6);
    double cy = k % 3 == 0 ? uniform(-3, 3) : uniform(-1e6, 1e6);
    double dist = uniform(0.01, 50), turn = k % 2 ? uniform(-0.2, 0.2) : uniform(1.37, 1.77);
    double tx = cx + dist * std::cos(turn), ty = cy + dist * std::sin(turn);
    double d = point_distance(cx, cy, tx, ty);
    pixel_rectangle pixels;
    if (!march_bounds(cx, cy, tx, ty, d, pixels)) continue;
    unit_vector unit = unit_of(point_direction(cx, cy, tx, ty));
    double mx = cx, my = cy;
    for (int j = 0; j < d; ++j) {
      mx = unit.x + mx;
      my = unit.y + my;
      int px = to_pixel(mx), py = to_pixel(my);
      ASSERT_TRUE(px >= pixels.left && px <= pixels.right && py >= pixels.top &&
                  py <= pixels.bottom)
          << "march from (" << cx << ", " << cy << ") to (" << tx << ", " << ty << ") visits ("
          << px << ", " << py << ") outside " << pixels.left << "," << pixels.top << " to "
          << pixels.right << "," << pixels.bottom;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100000);
}
