// The lines the game says, read back from its window: the real game, started
// with an empty world and then with a level it reloads broken, shows each
// line at the bottom of its frame. The text is read by its ink: the white
// pixels of the band's last rows, compared with the same line drawn by the
// game's own text code in a window of the test's, on black.
#include "shell/screen_messages.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/play_folder.h"
#include "e2e/x_window.h"
#include "files/said_lines.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "shell/text.h"
#include "shell/texture.h"
#include "shell/view.h"

namespace fs = std::filesystem;

namespace {
constexpr int ROW_PITCH = 22;     // pixels, as the game sets its rows
constexpr int BAND_BOTTOM = 594;  // the last row's ink ends above the band's margin
const std::vector<std::string> SHOW_LINES = {"BLOB_TEST_NO_SCREEN_MESSAGES=",
                                             "ALSOFT_DRIVERS=null"};

// White ink, whatever the darkened world behind it.
using ink_mask = std::vector<bool>;
bool ink(int r, int g, int b) { return r > 170 && g > 170 && b > 170; }

// The ink of the bottom `rows` rows of text of a frame (top row first).
ink_mask bottom_rows(const std::vector<std::uint8_t>& rgb, int rows) {
  ink_mask mask;
  for (int y = BAND_BOTTOM - rows * ROW_PITCH; y < BAND_BOTTOM; ++y)
    for (int x = 0; x < WINDOW_WIDTH; ++x) {
      const std::uint8_t* p = &rgb[3 * (static_cast<std::size_t>(y) * WINDOW_WIDTH + x)];
      mask.push_back(ink(p[0], p[1], p[2]));
    }
  return mask;
}

// `line` as the game shows it, alone, drawn here by the game's code: its ink,
// and how many rows it takes.
struct expected_line {
  ink_mask mask;
  int rows = 0;
};

expected_line draw_alone(const std::string& line) {
  EXPECT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  EXPECT_TRUE(open_game_window()) << SDL_GetError();
  set_fixed_gl_state();
  tex_font = loadTexture((fs::path(BLOB_GAME_IMAGES) / "font.png").c_str());
  show_said_lines_on_screen();
  for (long k = 0; k <= screen_message_list::LIFE_TICKS; ++k) age_screen_messages();  // none left
  say_line(line);
  begin_frame();
  draw_screen_messages();
  std::vector<std::uint8_t> rgb(WINDOW_WIDTH * WINDOW_HEIGHT * 3), top_first(rgb.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  for (int y = 0; y < WINDOW_HEIGHT; ++y)
    std::copy_n(&rgb[3 * static_cast<std::size_t>(WINDOW_HEIGHT - 1 - y) * WINDOW_WIDTH],
                3 * WINDOW_WIDTH, &top_first[3 * static_cast<std::size_t>(y) * WINDOW_WIDTH]);
  glDeleteTextures(1, &tex_font);
  SDL_Quit();
  // Rows with ink, from the bottom up. A tall glyph's tip reaches a pixel or
  // two into the row above its own (14 pixels for the broken save's line),
  // which is no row of text: a row holds hundreds.
  constexpr long ROW_INK = 200;
  expected_line e;
  for (e.rows = 1; e.rows < 6; ++e.rows) {
    ink_mask row = bottom_rows(top_first, e.rows);
    if (std::count(row.begin(), row.begin() + WINDOW_WIDTH * ROW_PITCH, true) < ROW_INK) break;
  }
  --e.rows;
  e.mask = bottom_rows(top_first, e.rows);
  return e;
}

// How many pixels' ink differs; the line shows when few do, against the
// hundreds of pixels of ink that each character has.
int ink_differences(const screenshot& shot, const expected_line& line) {
  ink_mask seen = bottom_rows(shot.rgb, line.rows);
  int differ = 0;
  for (std::size_t k = 0; k < seen.size(); ++k) differ += seen[k] != line.mask[k];
  return differ;
}

bool shows(x_window& window, const expected_line& line, double seconds, screenshot& last) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  do {
    last = window.shoot();
    if (ink_differences(last, line) < 200) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

std::vector<std::uint8_t> grass_level() {
  level_data level;
  auto grass = [](int x, int y) { return level_vertex{x, y, 90, 160, 90}; };
  level.triangles.push_back({{grass(-3000, 100), grass(3000, 100), grass(3000, 600)}});
  level.triangles.push_back({{grass(-3000, 100), grass(3000, 600), grass(-3000, 600)}});
  level.objects = {{1, 0, -150}, {2, 250, -150}};
  return encode_level(level);
}
}  // namespace

TEST(ScreenMessages, AnEmptyWorldAndABrokenReloadEachShowTheirLine) {
  play_folder empty(true, nullptr);
  const std::string folder = fs::canonical(empty.path).string();
  expected_line no_level = draw_alone(
      "level: cannot read the level, the world stays empty: No such file or directory (level.map "
      "in " +
      folder + ")");
  expected_line broken = draw_alone(
      "blobdemo: level.map: the file ends inside a record (is it still being written?); the "
      "level before it plays on");
  ASSERT_GE(no_level.rows, 2) << "a line that long takes two rows";
  ASSERT_EQ(broken.rows, 2);
  ASSERT_GT(std::count(broken.mask.begin(), broken.mask.end(), true), 2000);

  screenshot shot;
  {
    x_window window;
    game_process game(BLOB_GAME_BINARY, folder, SHOW_LINES);
    ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
    EXPECT_TRUE(shows(window, no_level, 15, shot))
        << ink_differences(shot, no_level) << " pixels differ; " << game.stderr_text();
    shot.save_png(std::string(BLOB_SHOT_DIR) + "/empty_world_says.png");
    EXPECT_GT(ink_differences(shot, broken), 2000) << "the lines are told apart";
    window.tap("Escape");
    EXPECT_EQ(game.wait_exit(30), 0);
  }

  std::vector<std::uint8_t> level = grass_level();
  play_folder played(true, &level);
  x_window window;
  game_process game(BLOB_GAME_BINARY, played.path.string(), SHOW_LINES, {}, {"level.map"});
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  // The findings come from a thread of their own: once they are said, the
  // broken save's line is the newest, at the bottom.
  ASSERT_TRUE(game.says("level.map: problem: no blob 3, 4 or 5", 60)) << game.stderr_text();
  std::ofstream(played.path / "level.map", std::ios::binary)
      .write(reinterpret_cast<const char*>(level.data()), 34);
  EXPECT_TRUE(shows(window, broken, 15, shot))
      << ink_differences(shot, broken) << " pixels differ; " << game.stderr_text();
  shot.save_png(std::string(BLOB_SHOT_DIR) + "/broken_reload_says.png");
  EXPECT_NE(game.stderr_text().find("the file ends inside a record"), std::string::npos)
      << "said on standard error as well";
  window.tap("Escape");
  EXPECT_EQ(game.wait_exit(30), 0);
}
