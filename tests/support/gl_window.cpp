#include "support/gl_window.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "shell/game.h"
#include "shell/view.h"

gl_window::gl_window() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0 || !open_game_window()) {
    ADD_FAILURE() << "cannot open the test window: " << SDL_GetError();
    std::exit(1);
  }
  set_fixed_gl_state();
}

gl_window::~gl_window() { SDL_Quit(); }

void gl_window::begin_frame() const {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glLoadIdentity();
  glTranslatef(-1, 1, 0);
}

void gl_window::capture() {
  pixels_.assign(WINDOW_WIDTH * WINDOW_HEIGHT * 3, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
}

rgb gl_window::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= WINDOW_WIDTH || y >= WINDOW_HEIGHT || pixels_.empty())
    return {-1, -1, -1};
  // GL rows run bottom-up.
  const std::uint8_t* p = &pixels_[((WINDOW_HEIGHT - 1 - y) * WINDOW_WIDTH + x) * 3];
  return {p[0], p[1], p[2]};
}

std::string gl_window::save(const std::string& name) const {
  std::string file = std::string(BLOB_BINARY_DIR) + "/" + name + ".ppm";
  FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) return file + " (not written)";
  std::fprintf(f, "P6\n%d %d\n255\n", WINDOW_WIDTH, WINDOW_HEIGHT);
  for (int y = 0; y < WINDOW_HEIGHT; ++y)
    std::fwrite(&pixels_[(WINDOW_HEIGHT - 1 - y) * WINDOW_WIDTH * 3], 1, WINDOW_WIDTH * 3, f);
  std::fclose(f);
  return file;
}

::testing::AssertionResult pixel_near(const gl_window& w, int x, int y, rgb expected,
                                      int tolerance) {
  rgb got = w.pixel(x, y);
  if (std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance &&
      std::abs(got.b - expected.b) <= tolerance)
    return ::testing::AssertionSuccess();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "frame";
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g << ", " << got.b
         << "), expected (" << expected.r << ", " << expected.g << ", " << expected.b << ") within "
         << tolerance << "; frame saved as " << w.save(name);
}

gl_window& test_window() {
  static gl_window window;
  return window;
}
