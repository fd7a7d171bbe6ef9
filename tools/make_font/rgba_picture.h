// A plain 8-bit RGBA picture in memory and its output as a Netpbm PAM file,
// which ImageMagick turns into the shipped PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct rgba_picture {
  rgba_picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}

  std::uint8_t* pixel(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }

  int width;
  int height;
  std::vector<std::uint8_t> pixels;  // R, G, B, A per pixel, top row first
};

// Writes the picture as a PAM file (TUPLTYPE RGB_ALPHA). Returns an empty
// string on success, otherwise the reason it failed.
std::string write_pam(const std::string& path, const rgba_picture& picture);
