// The terrain as drawn: corner colours, outlines, culling against the view
// and a texture fixed to the world. The test terrain picture is white where
// world x mod 400 lies in [0, 200) and grey (128) in [200, 400).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "level/container.h"
#include "level/level_file.h"
#include "level/terrain.h"
#include "shell/game.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "support/game_dir.h"
#include "support/gl_window.h"
#include "terrain_reference.h"
#include "view_edge_scene.h"

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

// What the game leaves out of a frame, given an opaque terrain picture:
// every triangle a later one covering the window paints over, and all but
// the last fill and the last 256 outlines of a run of copies of one
// triangle. Drawn as the game draws (the backdrop, line smoothing, and
// blending as the blobs leave it on) and compared pixel for pixel with
// drawing everything by the list walk: huge triangles that cover the
// window or miss a corner of it by a pixel, runs of copies whose long edge
// crosses the window (their smoothed outlines blend over each other), runs
// broken by a copy of another colour or a hidden one, and random bytes read
// as a level.
TEST_F(TerrainDraw, LeavingOutWhatIsPaintedOverKeepsEveryPixel) {
  bool opaque = false;
  GLuint portrait = loadTexture(test_data("images/hud_Portrait.png").c_str(), &opaque);
  EXPECT_TRUE(opaque) << "four bytes a pixel, every alpha 255";
  GLuint eyes = loadTexture(test_data("images/eyes_anx.png").c_str(), &opaque);
  EXPECT_FALSE(opaque) << "transparent round the eyes";
  glDeleteTextures(1, &portrait);
  glDeleteTextures(1, &eyes);
  GLuint snow = loadTexture(test_data("images/tex_snow.png").c_str(), &opaque);
  ASSERT_TRUE(opaque);
  glDeleteTextures(1, &snow);

  auto frame = [this](void (*terrain)(GLuint, bool)) {
    test_window().begin_frame();
    begin_frame();  // the game's: line smoothing on
    draw_backdrop();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    terrain(snow_, true);
    test_window().capture();
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    std::vector<rgb> pixels;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) pixels.push_back(test_window().pixel(x, y));
    return pixels;
  };
  auto expect_same_frames = [&](const char* scene, const std::vector<std::pair<int, int>>& views,
                                float zoom = 1) {
    set_zoom(zoom);
    for (auto [vx, vy] : views) {
      view_x = vx;
      view_y = vy;
      std::vector<rgb> all = frame([](GLuint t, bool) { draw_terrain_by_walk(t); });
      std::vector<rgb> cut = frame(draw_terrain);
      for (std::size_t k = 0; k < all.size(); ++k)
        ASSERT_TRUE(all[k].r == cut[k].r && all[k].g == cut[k].g && all[k].b == cut[k].b)
            << scene << ", view (" << vx << ", " << vy << "): pixel (" << k % 800 << ", " << k / 800
            << ") differs; " << test_window().save("painted_over");
    }
  };

  // A copy in one colour, then 300 in another, of the lower right half of
  // a square with its diagonal across the window; one hidden, 40 more.
  auto half_square = [](int r, int g, int b) {
    primitive* p = addVertex(-5000, 5000, 5000, 5000, 5000, -5000);
    addColour(p, r, g, b, r, g, b, 255, 255, 255);
    return p;
  };
  half_square(40, 200, 90);
  for (int k = 0; k < 300; ++k) half_square(200, 60, 30);
  half_square(200, 60, 30)->drawn = false;
  for (int k = 0; k < 40; ++k) half_square(200, 60, 30);
  expect_same_frames("copies", {{-400, -300}, {-390, -190}, {100, -500}});
  freeCollisions();

  // Window-sized triangles with small ones after them; around the view at
  // (-400, -300) one covers it wholly and others miss one of its corners by
  // a pixel, each the last of its kind.
  std::uint32_t state = 11;
  auto next = [&state](int range) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
  };
  auto coloured = [&](primitive* p) {
    addColour(p, next(256), next(256), next(256), next(256), next(256), next(256), next(256),
              next(256), next(256));
  };
  // Zoomed out, the window shows what lies beyond the view: a triangle
  // covering the view hides nothing there.
  for (int k = 0; k < 30; ++k) {
    int x = next(1800) - 900, y = next(1400) - 700;
    coloured(addVertex(x, y, x + next(300), y + next(50), x + next(80), y + next(300)));
  }
  coloured(addVertex(-420, -320, 2000, -320, -420, 2000));  // covers the window
  expect_same_frames("zoomed out", {{-400, -300}}, 0.5f);
  for (int k = 0; k < 60; ++k) {
    int x = next(900) - 450, y = next(700) - 350;
    coloured(addVertex(x, y, x + next(300), y + next(50), x + next(80), y + next(300)));
  }
  coloured(addVertex(-403, -303, 2000, -303, -403, 1500));  // covers it with 3 pixels to spare
  for (int k = 0; k < 20; ++k) {
    int x = next(900) - 450, y = next(700) - 350;
    coloured(addVertex(x, y, x + next(300), y + next(50), x + next(80), y + next(300)));
  }
  // Each misses one corner pixel: x + y > 699 there, where (399, 299) has a
  // pixel centre at x + y = 699 + 0.5 * 2 - 1 beyond the view's corner.
  coloured(addVertex(-399, -299, 2000, -299, -399, 2000));      // the top-left one
  coloured(addVertex(-2000, -2000, 2698, -2000, -2000, 2698));  // the bottom-right one
  expect_same_frames("window-sized", {{-400, -300}, {-401, -301}, {-396, -297}});
  freeCollisions();

  // Huge triangles beside the view, whose boxes hold it: beyond the line
  // x + y = 700 + d, which passes the view's bottom-right corner at
  // (-400, -300), for d from -3 to 5 (the smoothed outlines reach a pixel
  // or so); lines of no area along its top edge; one that misses, last.
  for (int d = -3; d <= 5; ++d) {
    coloured(addVertex(5000, 5000, 5700 + d, -5000, -5000, 5700 + d));
    coloured(addVertex(-5000, -300 - d, 5000, -300 - d, 0, -300 - d));
    int x = next(700) - 400, y = next(500) - 300;
    coloured(addVertex(x, y, x + next(300), y + next(50), x + next(80), y + next(300)));
  }
  coloured(addVertex(5000, 5000, 5710, -5000, -5000, 5710));
  expect_same_frames("beside the view", {{-400, -300}, {-401, -301}, {-404, -304}, {-395, -296}});
  freeCollisions();

  // Triangle edges from 5 pixels inside to 5 beyond each edge of the view.
  for (view_edge edge : VIEW_EDGES) {
    view_edge_scene scene = make_view_edge_scene(edge);
    for (primitive* p : {scene.under, scene.beyond, scene.covering, scene.last}) coloured(p);
    std::vector<std::pair<int, int>> views;
    for (int d = -5; d <= 5; ++d) {
      view_with_line_inside(edge, d);
      views.emplace_back(view_x, view_y);
    }
    expect_same_frames("a triangle's edge along an edge of the view", views);
    freeCollisions();
  }

  std::vector<std::uint8_t> noise(300000);
  for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>(next(256));
  for (const level_triangle& t : parse_level(noise.data(), noise.size()).triangles) {
    const level_vertex* v = t.v;
    addColour(addVertex(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y), v[0].r, v[0].g, v[0].b,
              v[1].r, v[1].g, v[1].b, v[2].r, v[2].g, v[2].b);
  }
  expect_same_frames("random bytes", {{-400, -300}, {1000, 2000}, {-9000, 5000}});
}
