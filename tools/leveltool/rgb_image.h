// A picture in memory as render makes it: 8-bit red, green, blue, top row
// first.
#pragma once

#include <cstdint>
#include <vector>

struct rgb_image {
  int width = 0, height = 0;         // pixels
  std::vector<std::uint8_t> pixels;  // red, green, blue; top row first
};

// The picture made `factor` times smaller on each side, each pixel the
// average of a factor x factor block (blocks cut off by the right or bottom
// edge average what they hold).
rgb_image shrunk(const rgb_image& image, int factor);
