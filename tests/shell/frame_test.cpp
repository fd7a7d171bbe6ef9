// A whole frame of the game, read back from the window: backdrop gradient,
// portrait, caption glyphs. The test pictures' colours are known: the
// portrait is yellow over cyan, and each font cell's left half has the
// colour (18 * column, 30 * (row + 3), 255).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "blob/wobblet.h"
#include "level/container.h"
#include "level/platform.h"
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

// The game's start-up in a scratch folder whose images/ holds the tests'
// pictures of tests/data/`images`: the level object, which loads the level
// given, then the font and the portrait; the view where given.
class Frame : public ::testing::Test {
 protected:
  explicit Frame(const std::string& images = "images") : dir_(true, images) {}
  void SetUp() override { start(level_with_distant_crate(), -400, -300); }
  void start(const std::vector<std::uint8_t>& level, int left, int top) {
    test_window();
    dir_.write_file("level.map", level);
    instance_create(0, 0, TYPE_CONTAINER);
    tex_font = loadTexture(".\\images\\font.png");
    portrait_ = loadTexture(".\\images\\hud_Portrait.png");
    view_x = left;
    view_y = top;
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

// One whole frame of the game, made by the game's own render_frame, with
// pictures that have a different colour in each quarter (tests/data/
// corner_images), so that a picture drawn mirrored, turned or cut wrongly
// shows. Then the shutdown, which must destroy every object.
//
// The view is at (-50, -400): window pixel = world + (50, 400). The level:
// a white rectangle of terrain at x 410..740, y -290..-10; then a small red
// triangle (40, -140), (160, -140), (40, -20), the last one drawn; a crate
// at (150, 60); a blob of type 2 (not under control, so the view stays put)
// at (300, -200).
namespace {
std::vector<std::uint8_t> corner_level() {
  level_data level;
  auto white = [](int x, int y) { return level_vertex{x, y, 255, 255, 255}; };
  auto red = [](int x, int y) { return level_vertex{x, y, 255, 0, 0}; };
  level.triangles.push_back({{white(410, -290), white(740, -290), white(410, -10)}});
  level.triangles.push_back({{white(740, -290), white(740, -10), white(410, -10)}});
  level.triangles.push_back({{red(40, -140), red(160, -140), red(40, -20)}});
  level.objects = {{TYPE_PLATFORM, 150, 60}, {2, 300, -200}};
  return encode_level(level);
}

class GameFrame : public Frame {
 protected:
  GameFrame() : Frame("corner_images") {}
  void SetUp() override {
    start(corner_level(), -50, -400);
    crate_ = dynamic_cast<obj_platform*>(start_obj);
    blob_ = dynamic_cast<obj_wobblet*>(start_obj->next);
    container_ = dynamic_cast<obj_container*>(start_obj->next->next);
    ASSERT_TRUE(crate_ && blob_ && container_);
  }
  static ::testing::AssertionResult at_world(double x, double y, rgb expected, int tolerance = 8) {
    return pixel_near(test_window(), static_cast<int>(std::lround(x)) + 50,
                      static_cast<int>(std::lround(y)) + 400, expected, tolerance);
  }

  obj_platform* crate_ = nullptr;
  obj_wobblet* blob_ = nullptr;
  obj_container* container_ = nullptr;
};

const rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, YELLOW{255, 255, 0};
const rgb ORANGE{255, 128, 0}, AZURE{0, 128, 255}, VIOLET{128, 0, 255}, SPRING{0, 255, 128};
}  // namespace

TEST_F(GameFrame, EveryPictureIsDrawnTheRightWayRoundAfterTheStep) {
  render_frame(portrait_);
  test_window().capture();
  if (std::getenv("BLOB_SAVE_FRAMES")) test_window().save("game_frame_corners");

  // Terrain: the picture is fixed to the world, repeating every 400 x 300
  // pixels, its top row along y = 0 and its rows running upwards, linearly
  // filtered: where its red and green quarters meet the two blend.
  EXPECT_TRUE(at_world(500, -75, RED)) << "terrain picture, top left";
  EXPECT_TRUE(at_world(700, -75, GREEN)) << "top right";
  EXPECT_TRUE(at_world(500, -225, BLUE)) << "bottom left";
  EXPECT_TRUE(at_world(700, -225, YELLOW)) << "bottom right";
  rgb seam = test_window().pixel(650, 325);
  EXPECT_TRUE(seam.r > 60 && seam.r < 200 && seam.g > 60 && seam.g < 200)
      << "not filtered linearly: (" << seam.r << ", " << seam.g << ", " << seam.b << ")";

  // The red triangle's outline is closed: its edge from the third corner
  // back to the first shows just outside, as the first edge does.
  EXPECT_GT(test_window().pixel(89, 320).r, 60) << "edge from (40, -20) back to (40, -140)";
  EXPECT_GT(test_window().pixel(130, 259).r, 60) << "edge from (40, -140) to (160, -140)";

  // The crate stepped (from y 60 to 59) before it was drawn: the picture
  // twice across, once down.
  EXPECT_EQ(crate_->y, 59.0f);
  for (double left : {150.0, 182.0}) {
    EXPECT_TRUE(at_world(left + 8, 67, ORANGE, 16)) << "crate, top left, from x " << left;
    EXPECT_TRUE(at_world(left + 24, 67, AZURE, 16)) << "top right";
    EXPECT_TRUE(at_world(left + 8, 83, VIOLET, 16)) << "bottom left";
    EXPECT_TRUE(at_world(left + 24, 83, SPRING, 16)) << "bottom right";
  }
  EXPECT_TRUE(at_world(158, 59, ORANGE, 16)) << "the crate's top row is y 59";
  EXPECT_LT(test_window().pixel(208, 491).r, 50) << "nothing of the crate at y 91";

  // The blob's face, where its state after the step puts it: the eyes'
  // upper quarters show above the mouth, which lies over the rest.
  double ahead = 2 * blob_->speed, turn = blob_->direction * std::acos(-1.0) / 180;
  double fx = blob_->x + ahead * std::cos(turn), fy = blob_->y - ahead * std::sin(turn);
  EXPECT_TRUE(at_world(fx - 8, fy - 13, {255, 0, 128})) << "eyes, top left";
  EXPECT_TRUE(at_world(fx + 8, fy - 13, {128, 255, 0})) << "eyes, top right";
  EXPECT_TRUE(at_world(fx - 8, fy - 2, {200, 0, 0})) << "mouth, top left";
  EXPECT_TRUE(at_world(fx + 8, fy - 2, {0, 200, 0})) << "mouth, top right";
  EXPECT_TRUE(at_world(fx - 8, fy + 14, {0, 0, 200})) << "mouth, bottom left";
  EXPECT_TRUE(at_world(fx + 8, fy + 14, {200, 200, 200})) << "mouth, bottom right";

  // The caption comes in the font's own colours although the terrain, drawn
  // just before it, left the colour red. Its glyphs are 32 pixels square,
  // inked in their left half: the last, "s", from (288, 2) to (304, 34).
  const gl_window& w = test_window();
  EXPECT_TRUE(pixel_near(w, 72, 18, {108, 120, 255}, 2)) << "\"D\", not tinted";
  EXPECT_TRUE(pixel_near(w, 303, 33, {198, 210, 255}, 2)) << "the last inked pixel of \"s\"";
  EXPECT_TRUE(pixel_near(w, 304, 18, {0, 0, 124}, 3)) << "the right half of \"s\" is clear";
  EXPECT_TRUE(pixel_near(w, 290, 34, {0, 0, 121}, 3)) << "nothing of \"s\" below y 34";
}

TEST_F(GameFrame, ShutdownDestroysEveryObjectAndDeletesEveryTexture) {
  render_frame(portrait_);
  const GLuint textures[] = {crate_->texture,     blob_->tex_eyes, blob_->tex_mouth,
                             container_->texture, tex_font,        portrait_};
  for (GLuint name : textures) ASSERT_TRUE(glIsTexture(name)) << name;
  destroy_game(portrait_);
  EXPECT_EQ(start_obj, nullptr);
  for (GLuint name : textures) EXPECT_FALSE(glIsTexture(name)) << name;
}

// Crates stacked at one place draw as the last of them: each one a later
// crate at the same place covers is left out, and the frame stays the one
// drawing them all gives, pixel for pixel, before and after they move. The
// list: a crate, a blob over it, two more at its place with one a pixel to
// the side between them, and a pair elsewhere. A covering crate whose
// picture lets what is under it show does not hide the one below.
namespace {
std::vector<std::uint8_t> stacked_crates_level() {
  level_data level;
  level.objects = {{TYPE_PLATFORM, 150, 60}, {2, 182, 50},           {TYPE_PLATFORM, 150, 60},
                   {TYPE_PLATFORM, 151, 60}, {TYPE_PLATFORM, 150, 60}, {TYPE_PLATFORM, 400, 90},
                   {TYPE_PLATFORM, 400, 90}};
  return encode_level(level);
}

class StackedCrates : public Frame {
 protected:
  StackedCrates() : Frame("corner_images") {}
  void SetUp() override {
    start(stacked_crates_level(), -50, -400);
    for (obj_parent* o = start_obj; o; o = o->next)
      if (auto* crate = dynamic_cast<obj_platform*>(o)) crates_.push_back(crate);
    ASSERT_EQ(crates_.size(), 6u);
  }
  std::vector<rgb> frame() {
    test_window().begin_frame();
    begin_frame();
    draw_backdrop();
    draw_pass();
    test_window().capture();
    std::vector<rgb> pixels;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) pixels.push_back(test_window().pixel(x, y));
    return pixels;
  }
  // The frame as drawn, then with no crate left out.
  void expect_same_as_drawing_all(const char* when) {
    std::vector<const obj_platform*> links;
    for (obj_platform* crate : crates_) links.push_back(crate->covered_by);
    std::vector<rgb> cut = frame();
    for (obj_platform* crate : crates_) crate->covered_by = nullptr;
    std::vector<rgb> all = frame();
    for (std::size_t k = 0; k < crates_.size(); ++k) crates_[k]->covered_by = links[k];
    for (std::size_t k = 0; k < all.size(); ++k)
      ASSERT_TRUE(all[k].r == cut[k].r && all[k].g == cut[k].g && all[k].b == cut[k].b)
          << when << ": pixel (" << k % 800 << ", " << k / 800 << ") differs; "
          << test_window().save("stacked_crates");
  }
  std::vector<obj_platform*> crates_;
};
}  // namespace

TEST_F(StackedCrates, LeftOutOnlyWherePaintedOverPixelForPixel) {
  EXPECT_EQ(crates_[0]->covered_by, crates_[1]);
  EXPECT_EQ(crates_[1]->covered_by, crates_[3]);
  EXPECT_EQ(crates_[2]->covered_by, nullptr) << "a pixel to the side covers nothing";
  EXPECT_EQ(crates_[3]->covered_by, nullptr);
  EXPECT_EQ(crates_[4]->covered_by, crates_[5]);
  expect_same_as_drawing_all("at the start");
  for (int tick = 0; tick < 230; ++tick) step_pass();  // up and on the way down again
  EXPECT_EQ(crates_[0]->y, crates_[3]->y);
  expect_same_as_drawing_all("after 230 ticks");

  bool opaque = true;
  GLuint eyes = loadTexture(test_data("images/eyes_anx.png").c_str(), &opaque);
  ASSERT_FALSE(opaque);
  std::swap(crates_[3]->texture, eyes);
  crates_[3]->texture_opaque = false;
  expect_same_as_drawing_all("under a crate that lets it show");
  std::swap(crates_[3]->texture, eyes);
  glDeleteTextures(1, &eyes);
}
