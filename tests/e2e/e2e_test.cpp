// The real game binary, driven only from outside as a player would: real key
// presses through XTEST, screenshots of its window, its exit status and its
// standard error. Each test gets its own X server (see CMakeLists.txt).
//
// The play test uses a level made for it, with the game's real pictures:
// flat grass from x -3000 to 3000 at y 100, the light-blue blob (type 1,
// controlled) dropped at (0, -150), the red blob (type 2) at (250, -150) and
// a crate at (-250, -50). Blobs and crates are told apart by colour: the
// light-blue fill is (128, 200, 255) when controlled and (64, 100, 127)
// when not; the red fill (200, 0, 0) and (100, 0, 0); the crate is brown
// wood; the grass is green.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/play_folder.h"
#include "e2e/x_window.h"
#include "level_encoder.h"

namespace fs = std::filesystem;

namespace {
const std::string GAME = BLOB_GAME_BINARY;
const std::string SHOTS = BLOB_SHOT_DIR;

std::vector<std::uint8_t> play_level() {
  level_data level;
  const int G = 100;  // ground y, world pixels
  auto grass = [](int x, int y) { return level_vertex{x, y, 90, 160, 90}; };
  level.triangles.push_back({{grass(-3000, G), grass(3000, G), grass(3000, 600)}});
  level.triangles.push_back({{grass(-3000, G), grass(3000, 600), grass(-3000, 600)}});
  level.objects = {{1, 0, -150}, {2, 250, -150}, {0, -250, -50}};
  return encode_level(level);
}

// Ground from x -3000 to 3000 below y 100 in one colour, and the
// light-blue blob dropped onto it.
std::vector<std::uint8_t> ground_level(int r, int g, int b) {
  level_data level;
  auto corner = [&](int x, int y) { return level_vertex{x, y, r, g, b}; };
  level.triangles.push_back({{corner(-3000, 100), corner(3000, 100), corner(3000, 600)}});
  level.triangles.push_back({{corner(-3000, 100), corner(3000, 600), corner(-3000, 600)}});
  level.objects = {{1, 0, -150}};
  return encode_level(level);
}

// 10,878 long thin triangles whose boxes cover 60 crates that they miss:
// the findings' placement checks would take about a minute on it, and stop
// after a few seconds, naming the crates they left.
std::vector<std::uint8_t> dense_level() {
  level_data level;
  for (int d = 0; d < 10878; ++d)
    level.triangles.push_back({{{-30000, -10000 + d, 90, 160, 90},
                                {10000, 10000 + d, 90, 160, 90},
                                {-29999, -10000 + d, 90, 160, 90}}});
  level.objects.push_back({1, -25000, 4000});
  for (int k = 0; k < 60; ++k) level.objects.push_back({0, -29000 + 110 * k, 5000});
  return encode_level(level);
}

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
void write_file(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  write_file(path, std::string(bytes.begin(), bytes.end()));
}

bool bright_blue(screen_rgb p) {
  return std::abs(p.r - 128) < 30 && std::abs(p.g - 200) < 30 && p.b > 225;
}
bool dim_blue(screen_rgb p) {
  return std::abs(p.r - 64) < 12 && std::abs(p.g - 100) < 12 && std::abs(p.b - 127) < 12;
}
bool bright_red(screen_rgb p) { return p.r > 170 && p.g < 40 && p.b < 40; }
bool dim_red(screen_rgb p) { return p.r > 80 && p.r < 120 && p.g < 25 && p.b < 25; }
bool any_red(screen_rgb p) { return bright_red(p) || dim_red(p); }
bool crate_wood(screen_rgb p) { return p.r > 100 && p.r > p.g + 20 && p.g > p.b + 15; }
bool grass(screen_rgb p) { return p.g > p.r + 40 && p.g > p.b + 40; }
bool grey_snow(screen_rgb p) { return p.r > 90 && std::abs(p.r - p.g) < 20 && p.b >= p.r; }
bool magenta(screen_rgb p) { return p.r > p.g + 60 && p.b > p.g + 60; }
bool yellow(screen_rgb p) { return p.r > p.b + 60 && p.g > p.b + 60 && std::abs(p.r - p.g) < 30; }

// The part of the window below the portrait and caption, where the world is.
constexpr int WORLD_TOP = 70;  // window row
int count_in_world(const screenshot& s, bool (*test)(screen_rgb)) {
  return s.count(0, WORLD_TOP, 800, 600, test);
}

struct spot {
  double x = -1, y = -1;
};

spot find(const screenshot& s, bool (*test)(screen_rgb)) {
  spot at;
  s.centroid(
      WORLD_TOP, [test](screen_rgb p) { return test(p); }, at.x, at.y);
  return at;
}

int occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

using clock_type = std::chrono::steady_clock;

// Takes screenshots until `done` holds for one, or `seconds` pass.
bool poll(x_window& window, double seconds, const std::function<bool(const screenshot&)>& done,
          screenshot* last = nullptr) {
  auto deadline = clock_type::now() + std::chrono::duration<double>(seconds);
  do {
    screenshot shot = window.shoot();
    bool ok = done(shot);
    if (last) *last = shot;
    if (ok) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (clock_type::now() < deadline);
  return false;
}

// Waits until both blobs keep still on screen for half a second.
bool settle(x_window& window, double seconds, screenshot* last) {
  spot blue_before{-100, -100}, red_before{-100, -100};
  int still = 0;
  return poll(
      window, seconds,
      [&](const screenshot& s) {
        spot blue = find(s, [](screen_rgb p) { return bright_blue(p) || dim_blue(p); });
        spot red = find(s, any_red);
        bool same = std::abs(blue.x - blue_before.x) < 1 && std::abs(blue.y - blue_before.y) < 1 &&
                    std::abs(red.x - red_before.x) < 1 && std::abs(red.y - red_before.y) < 1;
        still = same ? still + 1 : 0;
        blue_before = blue;
        red_before = red;
        return still >= 8;
      },
      last);
}

class Game : public ::testing::Test {
 protected:
  void start(bool images, const std::vector<std::uint8_t>* level, std::vector<std::string> env = {},
             std::vector<int> ignored_signals = {}, std::vector<std::string> args = {}) {
    folder_ = std::make_unique<play_folder>(images, level);
    launch(env, ignored_signals, args);
  }
  // Starts the game in the folder made before.
  void launch(std::vector<std::string> env = {}, std::vector<int> ignored_signals = {},
              std::vector<std::string> args = {}) {
    window_ = std::make_unique<x_window>();
    game_ =
        std::make_unique<game_process>(GAME, folder_->path.string(), env, ignored_signals, args);
    ASSERT_TRUE(window_->find_game_window(30))
        << "no game window; stderr: " << game_->stderr_text();
  }
  // Escape ends the game with status 0. (The wait is only a bound for a
  // game that never ends: a busy machine may take seconds.)
  void quit() {
    window_->tap("Escape");
    EXPECT_EQ(game_->wait_exit(30), 0) << game_->stderr_text();
  }
  void save(const screenshot& s, const std::string& name) {
    s.save_png(SHOTS + "/" + name + ".png");
  }

  std::unique_ptr<play_folder> folder_;
  std::unique_ptr<x_window> window_;
  std::unique_ptr<game_process> game_;
};
}  // namespace

TEST_F(Game, PlayedAsAPlayerWould) {
  std::vector<std::uint8_t> level = play_level();
  start(true, &level);

  // The first frames: backdrop, caption, portrait, terrain, crate, blobs.
  screenshot first;
  ASSERT_TRUE(poll(
      *window_, 5, [](const screenshot& s) { return count_in_world(s, bright_blue) > 200; },
      &first));
  save(first, "first_frame");
  screen_rgb sky = first.at(780, 75);
  EXPECT_TRUE(sky.r < 10 && sky.g < 10 && sky.b > 90)
      << "backdrop top " << sky.r << "," << sky.g << "," << sky.b;
  screen_rgb low = first.at(780, 598);
  EXPECT_TRUE(low.b < 30 || grass(low)) << "backdrop bottom is black (or grass covers it)";
  EXPECT_GT(
      first.count(64, 2, 300, 34, [](screen_rgb p) { return p.r > 200 && p.g > 200 && p.b > 200; }),
      100)
      << "caption";
  EXPECT_GT(first.count(4, 4, 60, 60, [](screen_rgb p) { return p.r > 100 || p.g > 100; }), 500)
      << "portrait";
  EXPECT_GT(count_in_world(first, grass), 10000) << "terrain";
  EXPECT_GT(count_in_world(first, crate_wood), 300) << "crate";
  EXPECT_GT(count_in_world(first, dim_red), 200) << "the red blob, not controlled, dimmed";

  // The controlled blob falls and comes to rest on the grass.
  screenshot rest;
  bool rested = settle(*window_, 15, &rest);
  save(rest, "at_rest");
  ASSERT_TRUE(rested) << "the blobs never came to rest";
  spot blue = find(rest, bright_blue), red = find(rest, dim_red);
  ASSERT_GT(blue.x, 0);
  EXPECT_NEAR(blue.x, 400, 30) << "the view centres the controlled blob";
  EXPECT_NEAR(blue.y, red.y, 6) << "both rest on the same ground";
  EXPECT_TRUE(grass(rest.at(static_cast<int>(blue.x), static_cast<int>(blue.y) + 30)))
      << "grass below the blob";

  // A crate moves, relative to the resting red blob.
  double crate_before = find(rest, crate_wood).y - find(rest, dim_red).y;
  EXPECT_TRUE(poll(*window_, 10, [&](const screenshot& s) {
    return std::abs(find(s, crate_wood).y - find(s, dim_red).y - crate_before) > 10;
  })) << "the crate did not move";

  // Right held: the blob travels right and the view follows it, so the red
  // blob, which stays where it is, slides left on screen.
  window_->key("Right", true);
  screenshot moved;
  EXPECT_TRUE(poll(
      *window_, 10, [&](const screenshot& s) { return find(s, dim_red).x < red.x - 120; }, &moved))
      << "the view did not follow the blob to the right";
  window_->key("Right", false);
  save(moved, "moved_right");
  spot blue_moved = find(moved, bright_blue);
  EXPECT_GT(blue_moved.x, 250);
  EXPECT_LT(blue_moved.x, 650) << "the controlled blob stays in view";

  // Up: the blob jumps, rising above the red one (which stays on the ground).
  ASSERT_TRUE(settle(*window_, 15, &rest));
  double height_at_rest = find(rest, dim_red).y - find(rest, bright_blue).y;
  window_->tap("Up");
  screenshot jump;
  EXPECT_TRUE(poll(
      *window_, 2,
      [&](const screenshot& s) {
        return find(s, dim_red).y - find(s, bright_blue).y > height_at_rest + 25;
      },
      &jump))
      << "no jump";
  save(jump, "jump");

  // Tab: control passes to the red blob; the blue one dims and the view
  // moves to the red one.
  ASSERT_TRUE(settle(*window_, 15, &rest));
  window_->tap("Tab");
  screenshot handed;
  EXPECT_TRUE(poll(
      *window_, 8,
      [](const screenshot& s) {
        return count_in_world(s, bright_red) > 200 && count_in_world(s, bright_blue) < 20 &&
               count_in_world(s, dim_blue) > 200 && std::abs(find(s, bright_red).x - 400) < 40;
      },
      &handed))
      << "control did not pass to the red blob";
  save(handed, "after_tab");

  quit();
}

TEST_F(Game, CloseButtonLeavesItRunningEscapeEndsIt) {
  std::vector<std::uint8_t> level = play_level();
  start(true, &level);
  window_->request_close();
  EXPECT_EQ(game_->wait_exit(1.0), -1) << "the game ended on a close request";
  screenshot a = window_->shoot();
  EXPECT_TRUE(poll(*window_, 10, [&](const screenshot& s) { return s.rgb != a.rgb; }))
      << "the game stopped drawing";
  quit();
}

// Ctrl-C ends the game, unless it was started with Ctrl-C and kill ignored
// (`trap '' INT TERM; blobdemo &`): then both stay ignored. Escape can only
// be read after the signals have reached the game, so it tells which.
TEST_F(Game, InterruptFromTheTerminalEndsItUnlessIgnoredAtStart) {
  std::vector<std::uint8_t> level = play_level();
  start(true, &level, {}, {SIGINT, SIGTERM});
  ::kill(game_->pid(), SIGINT);
  ::kill(game_->pid(), SIGTERM);
  quit();
  start(true, &level);
  ::kill(game_->pid(), SIGINT);
  EXPECT_EQ(game_->wait_exit(30), -2) << "Ctrl-C did not end the game";
}

TEST_F(Game, WithoutALevelItRunsAnEmptyWorldAndSaysWhy) {
  start(true, nullptr);
  screenshot s;
  ASSERT_TRUE(poll(
      *window_, 5, [](const screenshot& shot) { return shot.at(780, 5).b > 90; }, &s));
  EXPECT_EQ(count_in_world(s, grass) + count_in_world(s, crate_wood), 0);
  quit();
  std::string err = game_->stderr_text();
  EXPECT_NE(err.find("level.map"), std::string::npos) << err;
}

// Each save of the level named on the command line shows in the running
// game: written in place, then cut short (as a save still being written
// is), then saved the way many editors do, as a new file renamed over the
// old one. The one cut short leaves the world running and is reported once.
TEST_F(Game, ShowsEachSaveOfTheLevelItWasGiven) {
  std::vector<std::uint8_t> grassy = ground_level(90, 160, 90);
  start(true, &grassy, {}, {}, {"level.map"});
  ASSERT_TRUE(poll(*window_, 10, [](const screenshot& s) {
    return count_in_world(s, grass) > 10000;
  })) << game_->stderr_text();
  const fs::path level = folder_->path / "level.map";

  write_file(level, ground_level(200, 60, 200));
  auto saved = clock_type::now();
  screenshot shot;
  EXPECT_TRUE(poll(
      *window_, 10, [](const screenshot& s) { return count_in_world(s, magenta) > 10000; }, &shot))
      << "the save written in place did not show; " << game_->stderr_text();
  std::printf("the new terrain showed after %.0f ms\n",
              std::chrono::duration<double, std::milli>(clock_type::now() - saved).count());
  save(shot, "reloaded");
  EXPECT_EQ(count_in_world(shot, grass), 0);

  std::vector<std::uint8_t> yellowish = ground_level(210, 200, 40);
  write_file(level, std::vector<std::uint8_t>(yellowish.begin(), yellowish.begin() + 34));
  ASSERT_TRUE(game_->says("level.map: the file ends inside a record", 30))
      << game_->stderr_text();
  EXPECT_TRUE(poll(*window_, 0.3, [](const screenshot& s) {
    return count_in_world(s, magenta) > 10000;
  })) << "the world of the last good save went on";

  write_file(folder_->path / ".level.map.new", yellowish);
  fs::rename(folder_->path / ".level.map.new", level);
  EXPECT_TRUE(poll(
      *window_, 1.0, [](const screenshot& s) { return count_in_world(s, yellow) > 10000; }, &shot))
      << "the save renamed into place did not show within a second; " << game_->stderr_text();
  quit();
  std::string err = game_->stderr_text();
  EXPECT_EQ(occurrences(err, "level.map: "), 6)
      << "two reloads, one refusal, and the level's finding at the start and on each reload: "
      << err;
  EXPECT_EQ(occurrences(err, "level.map: reloaded"), 2) << err;
  EXPECT_EQ(occurrences(err, "blobdemo: level.map: problem: no blob 2, 3, 4 or 5: Tab hands"), 3)
      << err;
}

// The level's folder renamed away and back (a checkout, a backup tool) and
// then a save: the game says once that the folder went and once that it
// came back, and shows the save.
TEST_F(Game, ShowsASaveAfterItsFolderWasRenamedAwayAndBack) {
  folder_ = std::make_unique<play_folder>(true, nullptr);
  const fs::path levels = folder_->path / "levels", away = folder_->path / "levels.away";
  fs::create_directory(levels);
  write_file(levels / "level.map", ground_level(90, 160, 90));
  launch({}, {}, {"levels/level.map"});
  ASSERT_TRUE(poll(*window_, 10, [](const screenshot& s) {
    return count_in_world(s, grass) > 10000;
  })) << game_->stderr_text();

  fs::rename(levels, away);
  ASSERT_TRUE(game_->says("its folder is gone", 30)) << game_->stderr_text();
  fs::rename(away, levels);
  ASSERT_TRUE(game_->says("its folder is back", 30)) << game_->stderr_text();
  write_file(levels / "level.map", ground_level(200, 60, 200));
  EXPECT_TRUE(
      poll(*window_, 10, [](const screenshot& s) { return count_in_world(s, magenta) > 10000; }))
      << "the save after the folder came back did not show; " << game_->stderr_text();
  quit();
  std::string err = game_->stderr_text();
  EXPECT_EQ(occurrences(err, "its folder is gone"), 1) << err;
  EXPECT_EQ(occurrences(err, "its folder is back"), 1) << err;
}

// A level given as a link into another folder, dense enough that the
// findings on it take seconds: the window opens before they are said (they
// are made on a thread of their own), they name the objects they left
// unchecked, and a save where the link leads shows in the game.
TEST_F(Game, ADenseLevelOpensAtOnceAndALinkedLevelReloads) {
  folder_ = std::make_unique<play_folder>(true, nullptr);
  fs::create_directory(folder_->path / "designs");
  write_file(folder_->path / "designs" / "dense.map", dense_level());
  fs::create_symlink("designs/dense.map", folder_->path / "level.map");
  launch({}, {}, {"level.map"});
  EXPECT_EQ(game_->stderr_text().find("level.map: note:"), std::string::npos)
      << "the findings came before the window: " << game_->stderr_text();
  EXPECT_TRUE(game_->says("and the 55 objects after it: not checked against the", 60))
      << game_->stderr_text();
  write_file(folder_->path / "designs" / "dense.map", ground_level(200, 60, 200));
  EXPECT_TRUE(
      poll(*window_, 5, [](const screenshot& s) { return count_in_world(s, magenta) > 10000; }))
      << "a save where the link leads did not show; " << game_->stderr_text();
  quit();
}

// A named pipe put where the level was: the reload refuses it at once,
// without waiting for a writer, and the game plays on and still ends on
// Escape.
TEST_F(Game, APipeInPlaceOfTheLevelIsRefusedAndTheGamePlaysOn) {
  std::vector<std::uint8_t> level = play_level();
  start(true, &level, {}, {}, {"level.map"});
  ASSERT_TRUE(poll(*window_, 10, [](const screenshot& s) {
    return count_in_world(s, grass) > 10000;
  })) << game_->stderr_text();
  fs::remove(folder_->path / "level.map");
  ASSERT_EQ(mkfifo((folder_->path / "level.map").c_str(), 0600), 0);
  ASSERT_TRUE(game_->says("level.map: cannot read it: it is a pipe, not a file", 30))
      << game_->stderr_text();
  screenshot before = window_->shoot();
  EXPECT_TRUE(poll(*window_, 10, [&](const screenshot& s) { return s.rgb != before.rgb; }))
      << "the game stopped drawing";
  EXPECT_GT(count_in_world(window_->shoot(), grass), 10000) << "the level before it plays on";
  quit();
}

// A stall (here the game stopped by SIGSTOP for three seconds, as a
// debugger or a suspended laptop stops it) is not run back to back once
// the game goes on: the second after it has at most the usual 59 ticks
// (fewer on a loaded machine), not those plus the 176 the stall owed.
TEST_F(Game, AStallIsDroppedNotRunBackToBack) {
  std::vector<std::uint8_t> level = play_level();
  std::string log = (fs::temp_directory_path() / ("stall-" + std::to_string(::getpid()))).string();
  start(true, &level, {"LD_PRELOAD=" BLOB_SWAP_CLOCK, "BLOB_SWAP_LOG=" + log});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  ::kill(game_->pid(), SIGSTOP);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  ::kill(game_->pid(), SIGCONT);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  quit();
  std::ifstream in(log);
  std::vector<double> swaps;
  for (double t; in >> t;) swaps.push_back(t);
  fs::remove(log);
  std::size_t resumed = 1;
  while (resumed < swaps.size() && swaps[resumed] - swaps[resumed - 1] < 2.5) ++resumed;
  ASSERT_LT(resumed, swaps.size()) << "no gap of the stall's length among the swaps";
  std::size_t in_second = 0;
  while (resumed + in_second < swaps.size() && swaps[resumed + in_second] < swaps[resumed] + 1.0)
    ++in_second;
  std::printf("ticks in the second after a 3 s stall: %zu\n", in_second);
  EXPECT_LT(in_second, 100u) << "the stall's ticks were run back to back";
  EXPECT_GT(in_second, 5u) << "the game did not go on";
}

// A level named on the command line that cannot be played ends the game at
// once with one line naming the file; --help is not an error.
TEST(NamedLevel, ThatCannotBePlayedEndsTheGameWithOneLine) {
  play_folder folder(false, nullptr);
  write_file(folder.path / "broken.tmj", "{\"type\": \"map\", \"layers\": [");
  struct run {
    std::vector<std::string> args;
    int status;
    std::string named;
  };
  for (const run& r :
       {run{{"missing.map"}, 1, "missing.map: cannot read it: "},
        run{{"broken.tmj"}, 1, "broken.tmj: not valid JSON"},
        run{{"a.map", "b.map"}, 2, "usage: blobdemo [LEVEL]"}, run{{"--help"}, 0, ""}}) {
    game_process game(GAME, folder.path.string(), {}, {}, r.args);
    EXPECT_EQ(game.wait_exit(30), r.status) << r.args[0];
    std::string err = game.stderr_text();
    if (r.status == 1) {
      EXPECT_EQ(occurrences(err, "\n"), 1) << err;
    }
    EXPECT_NE(err.find(r.named), std::string::npos) << err;
  }
}

// Two blobs ask for the eyes and the mouth twice each: still one line a file.
TEST_F(Game, WithoutPicturesItRunsAndNamesEachMissingOneOnce) {
  std::vector<std::uint8_t> level = play_level();
  start(false, &level);
  EXPECT_TRUE(
      poll(*window_, 10, [](const screenshot& s) { return count_in_world(s, bright_blue) > 100; }));
  quit();
  std::string err = game_->stderr_text();
  auto count = [&err](const std::string& text) { return occurrences(err, text); };
  for (const char* name :
       {"tex_snow.png", "crate.jpg", "eyes_anx.png", "mouth.png", "font.png", "hud_Portrait.png"})
    EXPECT_EQ(count(name), 1) << name << " in: " << err;
  EXPECT_EQ(count("texture: "), 6) << err;
}

TEST_F(Game, RandomLevelBytesDoNotCrashIt) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 3; ++run) {
    std::vector<std::uint8_t> level(64 + 500 * run);
    for (auto& b : level) b = static_cast<std::uint8_t>(random());
    start(true, &level);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(game_->running()) << game_->stderr_text();
    quit();
  }
}

// Six seconds of the unchanged game on a clock that moves only while the
// game sleeps (the preloaded library stands in for SDL's clock): a pass of
// the loop that owes no tick sleeps 15 ms, there is a sleep between any two
// ticks, and one tick runs for every 17 ms the clock moved, 58.8 a second
// of the game's clock, however loaded the machine is. Its CPU time is well
// below the wall time: it sleeps rather than spins. (How many ticks a real
// second holds is a matter for bench/README.md.)
TEST_F(Game, TicksAtItsClocksPaceAndSleepsBetweenTicks) {
  std::vector<std::uint8_t> level = play_level();
  std::string log = (fs::temp_directory_path() / ("swaps-" + std::to_string(::getpid()))).string();
  auto started = clock_type::now();
  start(true, &level,
        {"LD_PRELOAD=" BLOB_SWAP_CLOCK, "BLOB_SWAP_LOG=" + log, "BLOB_SWAP_CLOCK=steps"});
  std::this_thread::sleep_for(std::chrono::seconds(6));
  quit();
  double wall = std::chrono::duration<double>(clock_type::now() - started).count();
  std::ifstream in(log);
  std::vector<double> swaps;  // the stand-in clock at each swap, in seconds
  int sleeps_between = 0, ticks_without_a_sleep = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("sleep ", 0) == 0) {
      EXPECT_EQ(line, "sleep 15");
      ++sleeps_between;
      continue;
    }
    if (!swaps.empty() && sleeps_between == 0) ++ticks_without_a_sleep;
    sleeps_between = 0;
    swaps.push_back(std::stod(line));
  }
  fs::remove(log);
  ASSERT_GT(swaps.size(), 50u) << "the game hardly ran";
  EXPECT_EQ(ticks_without_a_sleep, 0);
  double clock_ms = 1000 * (swaps.back() - swaps.front()), ticks_ms = 17.0 * (swaps.size() - 1);
  std::printf("%zu ticks over %.0f ms of the game's clock\n", swaps.size(), clock_ms);
  EXPECT_NEAR(clock_ms, ticks_ms, 17) << "one tick for every 17 ms of the clock";
  double cpu_share = game_->cpu_seconds() / wall;
  std::printf("CPU time %.2f s of %.2f s (%.0f%%)\n", game_->cpu_seconds(), wall, 100 * cpu_share);
  EXPECT_LT(cpu_share, 0.9) << "the game spins instead of sleeping";
}

// The installed game, started through its launcher from an unrelated
// folder, finds its level and pictures; the desktop entry and icon are there.
TEST(Installed, LauncherStartsTheGameInItsDataFolder) {
  const fs::path prefix = BLOB_TEST_PREFIX;
  EXPECT_TRUE(fs::exists(prefix / "share/applications/blobdemo.desktop"));
  EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/64x64/apps/blobdemo.png"));
  EXPECT_TRUE(fs::exists(prefix / "share/blobdemo/level.map"));
  for (const char* page : {"man6/blobdemo.6", "man1/leveltool.1", "man1/blobrun.1",
                           "man1/oggplay.1", "man1/synthlevel.1"})
    EXPECT_TRUE(fs::exists(prefix / "share/man" / page)) << page;
  EXPECT_TRUE(fs::exists(prefix / "share/mime/packages/blobdemo.xml"));
  std::ifstream entry(prefix / "share/applications/blobdemo.desktop");
  std::string desktop((std::istreambuf_iterator<char>(entry)), std::istreambuf_iterator<char>());
  EXPECT_NE(desktop.find("\nExec=blobdemo %f\n"), std::string::npos) << "opens the file given";
  EXPECT_NE(desktop.find("\nMimeType=application/x-blobdemo-level;application/x-tiled-tmj;"),
            std::string::npos);
  EXPECT_EQ(desktop.find("application/json"), std::string::npos) << "claims every JSON file";
  play_folder elsewhere(false, nullptr);
  x_window window;
  game_process game((prefix / "bin/blobdemo").string(), elsewhere.path.string());
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  EXPECT_TRUE(
      poll(window, 5, [](const screenshot& s) { return count_in_world(s, bright_blue) > 100; }));
  screenshot landed;
  settle(window, 10, &landed);
  landed.save_png(SHOTS + "/installed_game.png");  // the picture the README shows
  window.tap("Escape");
  EXPECT_EQ(game.wait_exit(30), 0);
  std::string err = game.stderr_text();
  EXPECT_EQ(err.find("level:"), std::string::npos) << err;
  EXPECT_EQ(err.find("texture:"), std::string::npos) << err;
}

// The installed launcher, started in a level designer's folder on a Tiled
// map there (named relative to that folder, whose images/ holds only the
// designer's tileset), plays that map, built in memory, with the installed
// game's pictures: the blob's face shows, dark outlines on its light blue.
TEST(Installed, LauncherPlaysALevelFromTheCallersFolder) {
  play_folder designer(false, nullptr);
  fs::create_directory(designer.path / "images");
  write_file(designer.path / "images/tileset.png", "the designer's tiles, none of the game's");
  write_file(designer.path / "my.tmj", R"({"type": "map", "orientation": "orthogonal",
    "layers": [{"type": "objectgroup", "name": "ground", "objects": [
      {"id": 1, "x": -3000, "y": 100, "width": 6000, "height": 500,
       "properties": [{"name": "color", "type": "color", "value": "#ffc83cc8"}]},
      {"id": 2, "type": "blob", "point": true, "x": 0, "y": -150,
       "properties": [{"name": "style", "type": "int", "value": 1}]}]}]})");
  x_window window;
  game_process game((fs::path(BLOB_TEST_PREFIX) / "bin/blobdemo").string(), designer.path.string(),
                    {}, {}, {"my.tmj"});
  ASSERT_TRUE(window.find_game_window(30)) << game.stderr_text();
  screenshot shot;
  EXPECT_TRUE(poll(
      window, 5,
      [](const screenshot& s) {
        return count_in_world(s, magenta) > 10000 && count_in_world(s, bright_blue) > 100;
      },
      &shot))
      << "the map's magenta ground and its blob; " << game.stderr_text();
  shot.save_png(SHOTS + "/installed_named_level.png");
  EXPECT_LT(count_in_world(shot, grey_snow), 200) << "none of the demo level's snowfield";
  spot blob = find(shot, bright_blue);
  int face = shot.count(static_cast<int>(blob.x) - 14, static_cast<int>(blob.y) - 14,
                        static_cast<int>(blob.x) + 14, static_cast<int>(blob.y) + 14,
                        [](screen_rgb p) { return p.r < 80 && p.g < 80 && p.b < 80; });
  EXPECT_GT(face, 20) << "the eyes' dark outlines on the blob, not a blank face";
  window.tap("Escape");
  EXPECT_EQ(game.wait_exit(30), 0);
  std::string err = game.stderr_text();
  EXPECT_EQ(err.find("texture:"), std::string::npos) << "every picture found: " << err;
  EXPECT_EQ(err.find("taken from beside the level"), std::string::npos) << err;
  EXPECT_EQ(occurrences(err, "my.tmj"), 1) << "one finding, said at the start: " << err;
  EXPECT_NE(err.find("my.tmj: problem: no blob 2, 3, 4 or 5"), std::string::npos) << err;
}
