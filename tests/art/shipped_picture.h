// A picture from data/images decoded the way the game decodes it (SDL_image),
// with its pixels read back as 8-bit RGBA whatever the surface's layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct rgba {
  int r, g, b, a;
};

class shipped_picture {
 public:
  // Loads data/images/<name>; on failure loaded() is false and error() says why.
  explicit shipped_picture(const std::string& name);

  bool loaded() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bytes_per_pixel() const { return bytes_per_pixel_; }
  rgba at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

 private:
  std::string error_;
  int width_ = 0;
  int height_ = 0;
  int bytes_per_pixel_ = 0;
  std::vector<rgba> pixels_;
};
