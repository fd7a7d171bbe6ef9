// PNG pictures for `leveltool render`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct rgb_image {
  int width = 0, height = 0;          // pixels
  std::vector<std::uint8_t> pixels;  // red, green, blue; top row first
};

// Encodes the picture as an 8-bit RGB PNG. False with the reason from libpng.
bool encode_png(const rgb_image& image, std::vector<std::uint8_t>& out, std::string& why);
