// Shrinking a rendered picture: block averages, edges included.
#include "rgb_image.h"

#include <gtest/gtest.h>

TEST(RgbImage, ShrinkingAveragesBlocksAndKeepsTheCutOffEdges) {
  rgb_image image;
  image.width = 3;
  image.height = 3;
  // Red counts the pixels 0..8 row by row; green is 200 everywhere; blue is
  // 255 on the top row only.
  for (int k = 0; k < 9; ++k)
    image.pixels.insert(image.pixels.end(),
                        {std::uint8_t(k * 10), 200, std::uint8_t(k < 3 ? 255 : 0)});
  rgb_image small = shrunk(image, 2);
  ASSERT_EQ(small.width, 2);
  ASSERT_EQ(small.height, 2);
  auto at = [&small](int x, int y, int c) { return small.pixels[(y * 2 + x) * 3 + c]; };
  EXPECT_EQ(at(0, 0, 0), 20);  // (0 + 10 + 30 + 40) / 4
  EXPECT_EQ(at(1, 0, 0), 35);  // (20 + 50) / 2: the right edge's block is one pixel wide
  EXPECT_EQ(at(0, 1, 0), 65);  // (60 + 70) / 2
  EXPECT_EQ(at(1, 1, 0), 80);  // the corner pixel alone
  EXPECT_EQ(at(0, 0, 1), 200);
  EXPECT_EQ(at(0, 0, 2), 128);  // (255 + 255 + 0 + 0) / 4, rounded
  EXPECT_EQ(shrunk(image, 1).pixels, image.pixels);
}
