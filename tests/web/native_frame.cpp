// web_native_frame [--wide-lines] DATA_DIR OUT_PREFIX TICK...
//
// Starts the game as the native program does, in DATA_DIR (its level.map and
// images/), runs ticks without key presses, and writes the frame shown after
// each TICK as OUT_PREFIX<TICK>.ppm. The browser test compares the page's
// frames with these; exit status 1 with one line when something fails.
//
// --wide-lines draws every line 5 pixels wide (the game never sets a line
// width): where that frame differs from the plain one is where the lines and
// their neighbours lie, the part of a frame in which the browser's GL, which
// draws lines 1 pixel wide and never smooths them, is allowed to differ.
#include <GL/gl.h>
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "shell/game.h"
#include "shell/object.h"
#include "shell/text.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "world/object_kinds.h"

namespace {
constexpr float WIDE_LINE = 5;  // pixels

int fail(const std::string& why) {
  std::fprintf(stderr, "web_native_frame: %s\n", why.c_str());
  return 1;
}

// The back buffer, top row first, as a binary PPM.
bool write_frame(const std::string& path) {
  std::vector<unsigned char> rgb(WINDOW_WIDTH * WINDOW_HEIGHT * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fprintf(out, "P6\n%d %d\n255\n", WINDOW_WIDTH, WINDOW_HEIGHT);
  for (int y = WINDOW_HEIGHT - 1; y >= 0; --y)
    std::fwrite(&rgb[static_cast<std::size_t>(y) * WINDOW_WIDTH * 3], 1, WINDOW_WIDTH * 3, out);
  return std::fclose(out) == 0;
}
}  // namespace

int main(int argc, char** argv) {
  install_blob_demo_kinds();
  bool wide_lines = argc > 1 && std::string(argv[1]) == "--wide-lines";
  if (wide_lines) --argc, ++argv;
  if (argc < 4) return fail("usage: web_native_frame [--wide-lines] DATA_DIR OUT_PREFIX TICK...");
  std::set<long> ticks;
  for (int i = 3; i < argc; ++i) ticks.insert(std::atol(argv[i]));
  if (*ticks.begin() < 1) return fail("ticks are counted from 1");
  std::string prefix = argv[2];
  if (chdir(argv[1]) != 0) return fail(std::string("cannot enter ") + argv[1]);
  if (SDL_Init(SDL_INIT_VIDEO) != 0 || !open_game_window())
    return fail(std::string("cannot open the window: ") + SDL_GetError());
  // The game's start-up, minus the sound.
  set_fixed_gl_state();
  if (wide_lines) glLineWidth(WIDE_LINE);
  instance_create(0, 0, TYPE_CONTAINER);
  tex_font = loadTexture(".\\images\\font.png");
  GLuint portrait = loadTexture(".\\images\\hud_Portrait.png");
  view_x -= WINDOW_WIDTH / 2;
  view_y -= WINDOW_HEIGHT / 2;
  for (long tick = 1; tick <= *ticks.rbegin(); ++tick) {
    render_frame(portrait);
    if (ticks.count(tick) && !write_frame(prefix + std::to_string(tick) + ".ppm"))
      return fail("cannot write " + prefix + std::to_string(tick) + ".ppm");
    SDL_GL_SwapBuffers();
  }
  destroy_all_instances();
  SDL_Quit();
  return 0;
}
