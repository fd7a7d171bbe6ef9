#include "rgb_image.h"

namespace {
// Average of the block whose top-left pixel is (x0, y0), for one channel.
std::uint8_t block_average(const rgb_image& image, int x0, int y0, int factor, int channel) {
  unsigned sum = 0, count = 0;
  for (int y = y0; y < y0 + factor && y < image.height; ++y)
    for (int x = x0; x < x0 + factor && x < image.width; ++x, ++count)
      sum += image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3 + channel];
  return static_cast<std::uint8_t>((sum + count / 2) / count);
}
}  // namespace

rgb_image shrunk(const rgb_image& image, int factor) {
  if (factor <= 1) return image;
  rgb_image small;
  small.width = (image.width + factor - 1) / factor;
  small.height = (image.height + factor - 1) / factor;
  small.pixels.resize(static_cast<std::size_t>(small.width) * small.height * 3);
  for (int y = 0; y < small.height; ++y)
    for (int x = 0; x < small.width; ++x)
      for (int c = 0; c < 3; ++c)
        small.pixels[(static_cast<std::size_t>(y) * small.width + x) * 3 + c] =
            block_average(image, x * factor, y * factor, factor, c);
  return small;
}
