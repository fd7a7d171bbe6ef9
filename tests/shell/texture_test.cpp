// The picture loader: every pixel layout it meets comes out with the right
// colours, and broken files give 0 quickly instead of a texture or a hang.
#include "shell/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <utility>

#include "files/program_name.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
// Draws the texture stretched over a 10x10-pixel block per texel, with its
// top-left texel at window pixel (100, 100), and reads the frame back.
void draw_stretched(GLuint texture, int texels_wide, int texels_high) {
  gl_window& w = test_window();
  w.begin_frame();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glColor4ub(255, 255, 255, 255);
  double right = 100 + 10.0 * texels_wide, bottom = 100 + 10.0 * texels_high;
  glBegin(GL_QUADS);
  glTexCoord2i(0, 0);
  screen_vertex(100, 100);
  glTexCoord2i(1, 0);
  screen_vertex(right, 100);
  glTexCoord2i(1, 1);
  screen_vertex(right, bottom);
  glTexCoord2i(0, 1);
  screen_vertex(100, bottom);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  w.capture();
}

::testing::AssertionResult texel(int column, int row, rgb expected) {
  return pixel_near(test_window(), 105 + 10 * column, 105 + 10 * row, expected, 1);
}

const rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255}, BLACK{0, 0, 0},
    YELLOW{255, 255, 0};

void expect_rgb_5x3_picture() {
  const rgb top[5] = {RED, GREEN, BLUE, WHITE, BLACK};
  for (int c = 0; c < 5; ++c) {
    EXPECT_TRUE(texel(c, 0, top[c]));
    EXPECT_TRUE(texel(c, 1, top[c]));
    EXPECT_TRUE(texel(c, 2, YELLOW));
  }
}

GLuint load_picture(const std::string& name) {
  return loadTexture(test_data("pictures/" + name).c_str());
}
}  // namespace

TEST(LoadTexture, EveryPixelLayoutUploadsTheRightColours) {
  test_window();
  // Three bytes per pixel with rows of 15 bytes (not a multiple of 4), red
  // first (PNG) and blue first (BMP); one palette byte per pixel. A PNG
  // without its end chunk, and one with a damaged chunk the picture can do
  // without, decode as well, and the decoder's own warnings stay unseen.
  for (const char* name : {"rgb_5x3.png", "rgb_5x3.bmp", "paletted_5x3.png", "no_end_chunk.png",
                           "bad_ancillary_crc.png"}) {
    SCOPED_TRACE(name);
    ::testing::internal::CaptureStderr();
    GLuint texture = load_picture(name);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(texture, 0u);
    draw_stretched(texture, 5, 3);
    expect_rgb_5x3_picture();
    glDeleteTextures(1, &texture);
  }
}

TEST(LoadTexture, GreyPicturesAreConvertedToColour) {
  test_window();
  GLuint texture = load_picture("grey_5x1.png");
  ASSERT_NE(texture, 0u);
  draw_stretched(texture, 5, 1);
  const int levels[5] = {0, 64, 128, 192, 255};
  for (int c = 0; c < 5; ++c) EXPECT_TRUE(texel(c, 0, {levels[c], levels[c], levels[c]}));
  glDeleteTextures(1, &texture);
}

TEST(LoadTexture, FourBytesWithAlphaAndTheJpegPath) {
  test_window();
  GLuint portrait = loadTexture(test_data("images/hud_Portrait.png").c_str());
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), portrait) << "the new texture stays bound";
  draw_stretched(portrait, 32, 32);  // 320 pixels: top half yellow, bottom half cyan
  EXPECT_TRUE(pixel_near(test_window(), 300, 200, YELLOW, 1));
  EXPECT_TRUE(pixel_near(test_window(), 300, 350, {0, 255, 255}, 1));
  GLuint crate = loadTexture(test_data("images/crate.jpg").c_str());
  draw_stretched(crate, 4, 4);
  EXPECT_TRUE(pixel_near(test_window(), 115, 115, {200, 120, 40}, 6));
  glDeleteTextures(1, &portrait);
  glDeleteTextures(1, &crate);
}

TEST(LoadTexture, SameFileTwiceGivesTwoTextures) {
  test_window();
  GLuint a = load_picture("rgb_5x3.png");
  GLuint b = load_picture("rgb_5x3.png");
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  draw_stretched(b, 5, 3);
  expect_rgb_5x3_picture();
  glDeleteTextures(1, &a);
  glDeleteTextures(1, &b);
}

TEST(LoadTexture, BackslashPathsAreFoundOnThisFileSystem) {
  test_window();
  game_dir dir;
  GLuint texture = loadTexture(".\\images\\hud_Portrait.png");
  EXPECT_NE(texture, 0u);
  glDeleteTextures(1, &texture);
}

// One line each, however much the decoder has to say about the damage; and
// a file asked for again says nothing new.
TEST(LoadTexture, BrokenFilesGiveZeroWithOneLineAndNeverHang) {
  test_window();
  game_dir dir(false);
  std::filesystem::create_directory("folder.png");
  const std::pair<const char*, const char*> broken[] = {
      {"missing.png", "No such file or directory"},
      {"not_a_picture.png", "not a PNG, JPEG or BMP picture"},
      {"truncated.png", "broken PNG: a chunk runs past the end of the file"},
      {"overlong_chunk.png", "broken PNG: a chunk runs past the end of the file"},
      {"cut_before_image.png", "Error reading the PNG file."},
      {"bad_image_crc.png", "Error reading the PNG file."},
      {"huge.png", "100000 x 100000 pixels; pictures are 1 to 4096 pixels on a side"},
      {"folder.png", "it is a folder, not a file"}};
  for (const auto& [name, reason] : broken) {
    SCOPED_TRACE(name);
    std::string path = name == std::string("folder.png") ? name : test_data("pictures/") + name;
    auto start = std::chrono::steady_clock::now();
    ::testing::internal::CaptureStderr();
    GLuint texture = loadTexture(path.c_str());
    GLuint again = loadTexture(path.c_str());
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, 0u);
    EXPECT_EQ(again, 0u);
    EXPECT_EQ(err.rfind("texture: ", 0), 0u) << err;
    // A file no data folder holds is named with the folder it was looked for in.
    std::string named =
        path == name ? path + " in " + std::filesystem::current_path().string() : path;
    EXPECT_NE(err.find(std::string(reason) + " (" + named + ")\n"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
  // A picture of the game's own names the program and what is drawn without
  // it; pictures_not_read counts each file once.
  std::size_t before = pictures_not_read();
  set_program_name("blobdemo");
  ::testing::internal::CaptureStderr();
  loadTexture(".\\images\\tex_snow.png");
  loadTexture(".\\images\\tex_snow.png");
  loadTexture(".\\images\\eyes_anx.png");
  std::string err = ::testing::internal::GetCapturedStderr();
  set_program_name("");
  std::string here = " in " + std::filesystem::current_path().string() + ")";
  EXPECT_EQ(err, "blobdemo: texture: No such file or directory (images/tex_snow.png" + here +
                     "; the terrain is drawn without it\n"
                     "blobdemo: texture: No such file or directory (images/eyes_anx.png" +
                     here + "; the blobs are drawn without their eyes\n");
  EXPECT_EQ(pictures_not_read(), before + 2);
  glBindTexture(GL_TEXTURE_2D, 0);  // 0 is safe to bind and delete
  GLuint zero = 0;
  glDeleteTextures(1, &zero);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
