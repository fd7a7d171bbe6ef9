// Drawing a blob into a real frame and reading the pixels back. The test
// pictures are transparent squares with an opaque 8x8 block in the middle:
// green for the eyes, magenta for the mouth. A blob at world (0, 0) with the
// view at (-400, -300) is centred on window pixel (400, 300), its body a
// 20-gon of radius about 19.75 through the rim edges' midpoints, its eyes'
// block at pixels 396..403 by 296..303 and the mouth's six pixels lower.
#include <GL/gl.h>

#include <cstdlib>
#include <memory>

#include "blob_world.h"
#include "shell/object.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
constexpr rgb BLACK{0, 0, 0};
constexpr rgb GREEN{0, 255, 0};
constexpr rgb MAGENTA{255, 0, 255};

class blob_drawing : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    window = std::make_unique<gl_window>();
    folder = std::make_unique<game_dir>(true);
  }
  static void TearDownTestSuite() {
    destroy_all_instances();
    folder.reset();
    window.reset();
  }
  void SetUp() override {
    destroy_all_instances();
    view_x = -400;
    view_y = -300;
  }

  // A blob of the type code at rest on its circle, drawn alone on black.
  static obj_wobblet* draw_blob(int code, int control_index, int x = 0, int y = 0) {
    auto* b = dynamic_cast<obj_wobblet*>(instance_create(x, y, code));
    b->control_index = control_index;
    settle_on_circle(*b);
    return b;
  }
  static void render(obj_wobblet* b) {
    window->begin_frame();
    b->draw();
    window->capture();
  }

  static std::unique_ptr<gl_window> window;
  static std::unique_ptr<game_dir> folder;
};
std::unique_ptr<gl_window> blob_drawing::window;
std::unique_ptr<game_dir> blob_drawing::folder;

TEST_F(blob_drawing, a_controlled_blob_shows_its_fill_outline_eyes_and_mouth) {
  obj_wobblet* b = draw_blob(1, 0);
  render(b);
  const gl_window& w = *window;
  EXPECT_TRUE(pixel_near(w, 410, 300, {128, 200, 255}));  // through the eyes' clear part
  EXPECT_TRUE(pixel_near(w, 390, 315, {128, 200, 255}));
  EXPECT_TRUE(pixel_near(w, 400, 285, {128, 200, 255}));
  EXPECT_TRUE(pixel_near(w, 419, 300, {42, 165, 255}));  // right edge, x = 19.51
  EXPECT_TRUE(pixel_near(w, 380, 300, {42, 165, 255}));  // left edge, x = -19.51
  EXPECT_TRUE(pixel_near(w, 399, 299, GREEN));
  EXPECT_TRUE(pixel_near(w, 399, 306, MAGENTA));
  EXPECT_TRUE(pixel_near(w, 423, 300, BLACK));  // just outside
  EXPECT_TRUE(pixel_near(w, 400, 323, BLACK));
  EXPECT_TRUE(pixel_near(w, 416, 316, BLACK));  // 22.6 pixels out, diagonally
  if (std::getenv("BLOB_SAVE_FRAMES")) w.save("blob_at_rest");
}

TEST_F(blob_drawing, a_blob_not_in_control_is_drawn_at_half_brightness_but_its_face_is_not) {
  obj_wobblet* b = draw_blob(1, 2);
  render(b);
  const gl_window& w = *window;
  EXPECT_TRUE(pixel_near(w, 410, 300, {64, 100, 127}));
  EXPECT_TRUE(pixel_near(w, 419, 300, {21, 82, 127}));
  EXPECT_TRUE(pixel_near(w, 399, 299, GREEN));
  EXPECT_TRUE(pixel_near(w, 399, 306, MAGENTA));
}

TEST_F(blob_drawing, every_style_has_its_own_colours) {
  struct {
    int code;
    rgb fill, line;
  } rows[] = {{2, {200, 0, 0}, {128, 0, 0}},
              {3, {96, 96, 96}, {64, 64, 64}},
              {5, {200, 200, 0}, {128, 128, 0}}};
  for (const auto& r : rows) {
    SetUp();
    render(draw_blob(r.code, 0));
    EXPECT_TRUE(pixel_near(*window, 410, 300, r.fill)) << "code " << r.code;
    EXPECT_TRUE(pixel_near(*window, 419, 300, r.line)) << "code " << r.code;
  }
}

TEST_F(blob_drawing, the_white_style_is_an_outline_only) {
  render(draw_blob(4, 0));
  EXPECT_TRUE(pixel_near(*window, 410, 300, BLACK));
  EXPECT_TRUE(pixel_near(*window, 419, 300, {128, 128, 128}));
  EXPECT_TRUE(pixel_near(*window, 399, 299, GREEN));

  SetUp();
  render(draw_blob(4, 3));
  EXPECT_TRUE(pixel_near(*window, 410, 300, BLACK));
  EXPECT_TRUE(pixel_near(*window, 419, 300, {64, 64, 64}));
}

// The face leads the centre by twice the speed: 20 pixels at 10 to the
// right, 10 pixels up at 5 upwards.
TEST_F(blob_drawing, the_face_looks_ahead_in_the_direction_of_motion) {
  obj_wobblet* b = draw_blob(1, 0);
  b->speed = 10;
  b->direction = 0;
  render(b);
  EXPECT_TRUE(pixel_near(*window, 419, 299, GREEN));
  EXPECT_TRUE(pixel_near(*window, 419, 306, MAGENTA));
  EXPECT_TRUE(pixel_near(*window, 399, 299, {128, 200, 255}));

  b->speed = 5;
  b->direction = 90;
  render(b);
  EXPECT_TRUE(pixel_near(*window, 399, 289, GREEN));
  EXPECT_TRUE(pixel_near(*window, 399, 296, MAGENTA));
  EXPECT_TRUE(pixel_near(*window, 399, 306, {128, 200, 255}));
}

TEST_F(blob_drawing, the_blob_is_drawn_through_the_view) {
  view_x = -300;  // the world origin is now at window pixel (300, 300)
  obj_wobblet* b = draw_blob(1, 0);
  render(b);
  EXPECT_TRUE(pixel_near(*window, 310, 300, {128, 200, 255}));
  EXPECT_TRUE(pixel_near(*window, 299, 299, GREEN));
  EXPECT_TRUE(pixel_near(*window, 410, 300, BLACK));
}

TEST_F(blob_drawing, drawing_leaves_texturing_and_blending_on_and_the_colour_white) {
  render(draw_blob(2, 1));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  for (GLfloat c : colour) EXPECT_EQ(c, 1.0f);
}

TEST_F(blob_drawing, each_blob_loads_its_own_pair_of_pictures) {
  obj_wobblet* a = draw_blob(1, 0);
  obj_wobblet* b = draw_blob(2, 1);
  EXPECT_NE(a->tex_eyes, 0u);
  EXPECT_NE(a->tex_mouth, 0u);
  EXPECT_NE(a->tex_eyes, a->tex_mouth);
  EXPECT_NE(a->tex_eyes, b->tex_eyes);
  EXPECT_NE(a->tex_mouth, b->tex_mouth);
  GLuint names[] = {a->tex_eyes, a->tex_mouth, b->tex_eyes, b->tex_mouth};
  destroy_all_instances();
  for (GLuint name : names) EXPECT_FALSE(glIsTexture(name)) << name;
}
}  // namespace
