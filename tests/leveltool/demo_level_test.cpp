// The demo level: data/level.map is what levels/demo.json builds, and the
// level keeps the promises of its design when played with the game's own
// blobs and crates.
#include <gtest/gtest.h>

#include <algorithm>

#include "files/file_bytes.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "level_play.h"
#include "level_report.h"
#include "level_source.h"

namespace {
const std::string SOURCE = std::string(BLOB_SOURCE_DIR) + "/levels/demo.json";
const std::string SHIPPED = std::string(BLOB_SOURCE_DIR) + "/data/level.map";

// Where the demo puts things (see levels/demo.json).
constexpr int LEDGE_TOP = -130;                       // y of the high ledge's surface
constexpr int LEDGE_LEFT = 4024, LEDGE_RIGHT = 4500;  // x of its walls
constexpr int LIFT_LANDING_X = 3850;                  // on the ground left of the first crate

level_data demo() {
  problem_list problems(SOURCE);
  level_data level;
  EXPECT_TRUE(load_level_source(SOURCE, level, problems))
      << (problems.empty() ? "" : problems.lines()[0]);
  return level;
}

// The demo with only blob `type`, moved to (x, y), and the crates; without
// the lift to the high ledge (the first crate) if so wished. The other blobs
// rest far away and would only slow the run down.
level_data demo_with_blob_at(int type, int x, int y, bool keep_lift = true) {
  level_data level = demo();
  std::vector<level_object> kept;
  bool lift_seen = false;
  for (level_object o : level.objects) {
    if (o.type == type) kept.push_back({type, x, y});
    if (o.type == 0 && (lift_seen || keep_lift)) kept.push_back(o);
    lift_seen = lift_seen || o.type == 0;
  }
  level.objects = kept;
  return level;
}

// Tab passes control from blob 1 to 2 and so on.
void take_control(level_play& play, int type) {
  for (int k = 1; k < type; ++k) play.press(1, SDLK_TAB);
}

bool on_the_ledge(const obj_wobblet& b) {
  return b.x > LEDGE_LEFT && b.x < LEDGE_RIGHT && b.y < LEDGE_TOP;
}
}  // namespace

TEST(DemoLevel, TheShippedFileIsWhatItsSourceBuilds) {
  std::vector<std::uint8_t> shipped;
  std::string reason;
  ASSERT_TRUE(read_file_bytes(SHIPPED, shipped, reason)) << reason;
  EXPECT_TRUE(shipped == encode_level(demo()))
      << "data/level.map is out of date: run leveltool build levels/demo.json data/level.map";
}

TEST(DemoLevel, HoldsEveryKindOfObjectAndNoProblems) {
  level_data level = demo();
  std::vector<std::uint8_t> bytes = encode_level(level);
  level_report report = examine_level(bytes.data(), bytes.size());
  EXPECT_TRUE(report.problems.empty()) << report_text(report);
  EXPECT_TRUE(report.notes.empty()) << report_text(report);
  std::vector<int> types;
  for (const level_object& o : level.objects) types.push_back(o.type);
  std::sort(types.begin(), types.end());
  EXPECT_EQ(types, (std::vector<int>{0, 0, 1, 2, 3, 4, 5}))
      << "two crates and one blob of each type";
}

TEST(DemoLevel, EveryBlobLandsAndBlobOneLandsInTheFirstFrame) {
  level_play play(demo());
  play.run_until(200);
  const obj_wobblet& first = play.blob(1);
  // The first frame shows world x -400..400 and y -300..300.
  EXPECT_TRUE(first.x > -400 + 20 && first.x < 400 - 20 && first.y > -300 && first.y < 300 - 20)
      << "blob 1 came to rest at (" << first.x << ", " << first.y << ")";
  for (int type = 1; type <= 5; ++type) {
    const obj_wobblet& b = play.blob(type);
    EXPECT_LT(b.speed, 0.5) << "blob " << type << " is still moving";
    EXPECT_TRUE(collideAll(static_cast<int>(b.x), static_cast<int>(b.y) + 20))
        << "blob " << type << " is not on the ground";
  }
}

// The route to the high ledge: roll right onto the first crate as it comes
// down, keep Right held while it rises, jump at the top.
TEST(DemoLevel, TheFirstCrateCarriesEveryBlobUpToTheHighLedge) {
  for (int type = 1; type <= 5; ++type) {
    level_play play(demo_with_blob_at(type, LIFT_LANDING_X, 100));
    take_control(play, type);
    play.press(330, SDLK_RIGHT);
    play.press(595, SDLK_UP);  // the crate turns back down at tick 600
    play.run_until(700);
    const obj_wobblet& b = play.blob(type);
    EXPECT_TRUE(on_the_ledge(b)) << "blob " << type << " ended at (" << b.x << ", " << b.y << ")";
  }
}

// Without the crate no blob gets up there: not by jumping again and again
// against either wall, not even the white blob 4, which jumps highest (about
// 190 pixels, and near 280 when it jumps along a wall).
TEST(DemoLevel, TheHighLedgeCannotBeReachedWithoutTheCrate) {
  struct approach {
    int x;
    SDLKey towards;
  };
  for (approach from : {approach{3900, SDLK_RIGHT}, approach{4600, SDLK_LEFT}})
    for (int type : {1, 4})
      for (int every : {7, 13, 31}) {
        level_play play(demo_with_blob_at(type, from.x, 100, false));
        take_control(play, type);
        play.press(2, from.towards);
        for (long t = 5; t < 600; t += every) play.press(t, SDLK_UP);
        for (long t = 10; t <= 600; t += 10) {
          play.run_until(t);
          ASSERT_FALSE(on_the_ledge(play.blob(type)))
              << "blob " << type << " jumping every " << every << " ticks";
        }
      }
}
