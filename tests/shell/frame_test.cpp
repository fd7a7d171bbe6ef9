// A whole frame of the game, read back from the window: backdrop gradient,
// portrait, caption glyphs. The test pictures' colours are known: the
// portrait is yellow over cyan, and each font cell's left half has the
// colour (18 * column, 30 * (row + 3), 255).
#include <gtest/gtest.h>

#include "level/terrain.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/text.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
// A level whose only object is a crate far outside the view: the crate's
// draw switches blending on, as any real level's objects do.
std::vector<std::uint8_t> level_with_distant_crate() {
  level_data level;
  level.objects.push_back({TYPE_PLATFORM, 5000, 5000});
  return encode_level(level);
}

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    test_window();
    dir_.write_file("level.map", level_with_distant_crate());
    instance_create(0, 0, TYPE_CONTAINER);
    tex_font = loadTexture(".\\images\\font.png");
    portrait_ = loadTexture(".\\images\\hud_Portrait.png");
    view_x = -400;
    view_y = -300;
  }
  void TearDown() override {
    destroy_all_instances();
    glDeleteTextures(1, &portrait_);
    glDeleteTextures(1, &tex_font);
    freeCollisions();
  }
  void render() {
    render_frame(portrait_);
    test_window().capture();
  }
  game_dir dir_;
  GLuint portrait_ = 0;
};

const rgb BACKDROP_TOP{0, 0, 128};
const rgb BLACK{0, 0, 0};
}  // namespace

TEST_F(Frame, BackdropRunsFromDarkBlueAtTheTopToBlackAtTheBottom) {
  render();
  const gl_window& w = test_window();
  EXPECT_TRUE(pixel_near(w, 600, 0, BACKDROP_TOP, 2));
  EXPECT_TRUE(pixel_near(w, 10, 300, {0, 0, 64}, 2));
  EXPECT_TRUE(pixel_near(w, 799, 300, {0, 0, 64}, 2));
  EXPECT_TRUE(pixel_near(w, 400, 599, BLACK, 2));
}

TEST_F(Frame, PortraitFillsTheTopLeft64PixelSquareUpright) {
  render();
  const gl_window& w = test_window();
  EXPECT_TRUE(pixel_near(w, 1, 1, {255, 255, 0}));
  EXPECT_TRUE(pixel_near(w, 62, 30, {255, 255, 0}));
  EXPECT_TRUE(pixel_near(w, 1, 34, {0, 255, 255}));
  EXPECT_TRUE(pixel_near(w, 62, 62, {0, 255, 255}));
  EXPECT_TRUE(pixel_near(w, 30, 66, {0, 0, 114}, 3));  // backdrop just below
}

TEST_F(Frame, CaptionGlyphsComeFromTheirCells) {
  render();
  const gl_window& w = test_window();
  // "Demo test fools": one glyph every 16 pixels from x = 64; a glyph's
  // left half is where its cell's ink shows. Spaces are transparent.
  const rgb D{108, 120, 255}, e{198, 180, 255}, m{90, 210, 255}, o{126, 210, 255}, t{216, 210, 255},
      s{198, 210, 255}, f{216, 180, 255}, l{72, 210, 255};
  const rgb expected[15] = {D, e, m, o, {-1, -1, -1}, t, e, s, t, {-1, -1, -1}, f, o, o, l, s};
  for (int k = 0; k < 15; ++k) {
    int x = 64 + 16 * k + 8;
    if (expected[k].r < 0)
      EXPECT_TRUE(pixel_near(w, x, 18, {0, 0, 124}, 3)) << "space at glyph " << k;
    else
      EXPECT_TRUE(pixel_near(w, x, 18, expected[k], 2)) << "glyph " << k;
  }
  // The last glyph's transparent right half and what lies beyond it.
  EXPECT_TRUE(pixel_near(w, 64 + 14 * 16 + 24, 18, {0, 0, 124}, 3));
}

TEST_F(Frame, CaptionAndPortraitStayPutWhenTheViewMoves) {
  view_x = 3000;
  view_y = -7000;
  render();
  const gl_window& w = test_window();
  EXPECT_TRUE(pixel_near(w, 1, 1, {255, 255, 0}));
  EXPECT_TRUE(pixel_near(w, 64 + 8, 18, {108, 120, 255}, 2));
}

TEST(Text, StopsAtNewlineOrAtTheEndOfTheString) {
  gl_window& w = test_window();
  game_dir dir;
  tex_font = loadTexture(".\\images\\font.png");
  for (const char* text : {"00\n0000", "00"}) {
    w.begin_frame();
    glEnable(GL_TEXTURE_2D);
    draw_text(100, 100, text);
    w.capture();
    // "0" is cell (0, 0): colour (0, 90, 255).
    EXPECT_TRUE(pixel_near(w, 108, 116, {0, 90, 255}, 2)) << text;
    EXPECT_TRUE(pixel_near(w, 124, 116, {0, 90, 255}, 2)) << text;
    EXPECT_TRUE(pixel_near(w, 156, 116, {0, 0, 0}, 2)) << text;  // third glyph not drawn
  }
  glDeleteTextures(1, &tex_font);
  glDisable(GL_TEXTURE_2D);
}

TEST(Text, PunctuationWrapsToTheBottomRows) {
  gl_window& w = test_window();
  game_dir dir;
  tex_font = loadTexture(".\\images\\font.png");
  w.begin_frame();
  glEnable(GL_TEXTURE_2D);
  draw_text(100, 200, "/\"!\n");
  w.capture();
  EXPECT_TRUE(pixel_near(w, 108, 216, {234, 60, 255}, 2));  // "/": row -1, column 13
  EXPECT_TRUE(pixel_near(w, 124, 216, {0, 60, 255}, 2));    // '"': row -1, column 0
  EXPECT_TRUE(pixel_near(w, 140, 216, {234, 30, 255}, 2));  // "!": row -2, column 13
  glDeleteTextures(1, &tex_font);
  glDisable(GL_TEXTURE_2D);
}
