// Builds small level files in memory for the blob tests, the determinism
// scenes and the benchmark: terrain as boxes and triangles, objects by type
// code, encoded exactly as the game reads them.
#pragma once

#include <cstdint>
#include <vector>

#include "level_encoder.h"

class level_builder {
 public:
  // A triangle with one colour at every corner (r, g, b 0..255).
  level_builder& triangle(int x1, int y1, int x2, int y2, int x3, int y3, int r = 90, int g = 160,
                          int b = 70);
  // An axis-aligned box as two triangles sharing a diagonal.
  level_builder& box(int left, int top, int right, int bottom);
  // A game object: 0 platform, 1..5 blob of style 0..4.
  level_builder& object(int type, int x, int y);

  std::vector<std::uint8_t> bytes() const { return encode_level(level_); }

 private:
  level_data level_;
};
