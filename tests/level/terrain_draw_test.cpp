// The terrain as drawn: corner colours, outlines, culling against the view
// and a texture fixed to the world. The test terrain picture is white where
// world x mod 400 lies in [0, 200) and grey (128) in [200, 400).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "level/container.h"
#include "level/terrain.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"

namespace {
const rgb BLACK{0, 0, 0}, WHITE{255, 255, 255}, GREY{128, 128, 128};

class TerrainDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    test_window();
    snow_ = loadTexture(test_data("images/tex_snow.png").c_str());
    view_x = -400;
    view_y = -300;
  }
  void TearDown() override {
    glDeleteTextures(1, &snow_);
    glDisable(GL_TEXTURE_2D);
    set_zoom(1);
    freeCollisions();
  }
  void draw() {
    test_window().begin_frame();
    draw_terrain(snow_);
    test_window().capture();
  }
  // Shrinks what is drawn about the window's centre, so that places beyond
  // the view's edges show up inside the window: world (view_x + 800, y)
  // lands on window column 600, (view_x - 1, y) on column 199.5.
  static void set_zoom(float scale) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(scale, scale, 1);
    glMatrixMode(GL_MODELVIEW);
  }
  bool drawn_at(int x, int y) const {
    rgb p = test_window().pixel(x, y);
    return p.r + p.g + p.b > 60;
  }
  GLuint snow_ = 0;
};
}  // namespace

TEST_F(TerrainDraw, CornersCarryTheirColours) {
  primitive* p = addVertex(20, 0, 180, 0, 20, 160);  // inside the white band
  addColour(p, -56, 0, 0, 0, 255, 0, 0, 0, 255);     // -56 draws as 200
  draw();
  const gl_window& w = test_window();
  EXPECT_TRUE(pixel_near(w, 422, 302, {200, 0, 0}, 16));
  EXPECT_TRUE(pixel_near(w, 576, 302, {0, 255, 0}, 16));
  EXPECT_TRUE(pixel_near(w, 422, 456, {0, 0, 255}, 16));
  EXPECT_TRUE(pixel_near(w, 600, 420, BLACK, 0));  // outside the triangle
}

TEST_F(TerrainDraw, OutlineIsDrawnWithTheCornerColours) {
  // A flat triangle has no inside: all that shows is its outline.
  primitive* p = addVertex(20, 50, 180, 50, 100, 50);
  addColour(p, 0, 255, 0, 0, 255, 0, 0, 255, 0);
  draw();
  // The line runs along the border of rows 349 and 350.
  rgb above = test_window().pixel(500, 349), below = test_window().pixel(500, 350);
  rgb on_line = above.g > below.g ? above : below;
  EXPECT_GT(on_line.g, 100) << "no outline at (500, 349.5)";
  EXPECT_EQ(on_line.r, 0);
  EXPECT_TRUE(pixel_near(test_window(), 500, 356, BLACK, 0));
}

TEST_F(TerrainDraw, TrianglesWhollyBeyondOneSideOfTheViewAreSkipped) {
  set_zoom(0.5f);
  const int L = view_x, R = view_x + 800, T = view_y, B = view_y + 600;
  struct edge_case {
    const char* side;
    int x1, y1, x2, y2, x3, y3;  // corners touching the edge: drawn
    int dx, dy;                  // one pixel further out: skipped
    int px, py;                  // a window pixel inside the drawn triangle
  };
  const edge_case cases[] = {
      {"right", R, 0, R + 100, 0, R, 100, 1, 0, 610, 310},
      {"left", L, 0, L - 100, 0, L, 100, -1, 0, 190, 310},
      {"top", 0, T, 100, T, 0, T - 100, 0, -1, 410, 140},
      {"bottom", 0, B, 100, B, 0, B + 100, 0, 1, 410, 460},
  };
  for (const edge_case& c : cases) {
    SCOPED_TRACE(c.side);
    addVertex(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3);
    draw();
    EXPECT_TRUE(drawn_at(c.px, c.py));
    freeCollisions();
    addVertex(c.x1 + c.dx, c.y1 + c.dy, c.x2 + c.dx, c.y2 + c.dy, c.x3 + c.dx, c.y3 + c.dy);
    draw();
    EXPECT_FALSE(drawn_at(c.px + c.dx, c.py + c.dy));
    freeCollisions();
  }
}

TEST_F(TerrainDraw, ATriangleCoveringTheViewWithNoCornerInsideIsDrawn) {
  addVertex(-10000, -1000, 10000, -1000, 0, 30000);
  draw();
  EXPECT_TRUE(pixel_near(test_window(), 500, 300, WHITE, 2));  // world (100, 0)
  EXPECT_TRUE(pixel_near(test_window(), 700, 300, GREY, 2));   // world (300, 0)
}

TEST_F(TerrainDraw, TextureStaysFixedToTheWorldWhenTheViewMoves) {
  addVertex(-10000, -1000, 10000, -1000, 0, 30000);
  view_x = -300;  // the world moves 100 pixels left on screen
  view_y = -250;
  draw();
  EXPECT_TRUE(pixel_near(test_window(), 450, 300, WHITE, 2));  // world (150, 50)
  EXPECT_TRUE(pixel_near(test_window(), 650, 300, GREY, 2));   // world (350, 50)
  EXPECT_TRUE(pixel_near(test_window(), 710, 300, WHITE, 2));  // world (410, 50): next repeat
}

TEST_F(TerrainDraw, HiddenTrianglesAndAnEmptyListDrawNothing) {
  primitive* p = addVertex(-100, -100, 100, -100, 0, 100);
  p->drawn = false;
  draw();
  EXPECT_TRUE(pixel_near(test_window(), 400, 290, BLACK, 0));
  freeCollisions();
  glDisable(GL_TEXTURE_2D);
  draw();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is left on for the caption";
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), snow_);
}

TEST_F(TerrainDraw, IndexedDrawingIsPixelForPixelTheWalkOfTheWholeList) {
  // Overlapping triangles in many colours, where list order decides which
  // one shows on top, huge ones and lines among them, some hidden, some
  // moved after they were made; seen from several views, zoomed out so that
  // triangles just beyond the view's edges would show if wrongly drawn.
  set_zoom(0.5f);
  std::uint32_t state = 7;
  auto next = [&state](int range) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
  };
  for (int k = 0; k < 4000; ++k) {
    int cx = next(6000) - 3000, cy = next(6000) - 3000, size = k % 50 == 0 ? 40000 : 300;
    primitive* p = addVertex(cx + next(size) - size / 2, cy + next(size) - size / 2,
                             cx + next(size) - size / 2, cy + next(size) - size / 2,
                             cx + next(size) - size / 2, cy + next(size) - size / 2);
    addColour(p, next(256), next(256), next(256), next(256), next(256), next(256), next(256),
              next(256), next(256));
    p->drawn = k % 13 != 0;
    if (k % 7 == 0) moveTriangle(p, next(900) - 450, next(900) - 450);
  }
  const int views[][2] = {{-400, -300}, {-3000, -2500}, {1200, 700}, {-9000, 0}, {2601, -2999}};
  for (const auto& v : views) {
    view_x = v[0];
    view_y = v[1];
    test_window().begin_frame();
    draw_terrain_by_walk(snow_);
    test_window().capture();
    std::vector<rgb> walked;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) walked.push_back(test_window().pixel(x, y));
    draw();
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        rgb a = walked[y * 800 + x], b = test_window().pixel(x, y);
        ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b)
            << "view (" << v[0] << ", " << v[1] << "): pixel (" << x << ", " << y << ") differs; "
            << test_window().save("indexed_terrain");
      }
  }
}
