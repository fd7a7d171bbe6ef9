// The findings about where blobs and crates start, held against the game's
// own simulation: what check calls a problem really happens when the level
// is played, and the same level without the finding plays well.
#include <gtest/gtest.h>

#include <algorithm>

#include "blob/tuning.h"
#include "level_encoder.h"
#include "level_findings.h"
#include "level_play.h"

namespace {
// Ground 300 pixels deep, its top at y 100, from x -1000 to 1000.
level_data ground() {
  level_data level;
  level.triangles.push_back({{{-1000, 100, 0, 0, 0}, {1000, 100, 0, 0, 0}, {-1000, 400, 0, 0, 0}}});
  level.triangles.push_back({{{1000, 100, 0, 0, 0}, {1000, 400, 0, 0, 0}, {-1000, 400, 0, 0, 0}}});
  return level;
}

std::vector<std::string> problems_of(const level_data& level) {
  std::vector<std::uint8_t> bytes = encode_level(level);
  return examine_level(bytes.data(), bytes.size()).problems;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// Blob 1 walks from the left to x 20 under the crate at x 0..64 while the
// crate is up, and stays there while it comes down (as the game plays it).
// Returns the lowest the blob's centre went and the flattest the blob was,
// its height from the top of its rim to the bottom, in pixels.
struct squeeze {
  double lowest_centre = -1e9, flattest = 1e9;
};
squeeze caught_under_crate(int crate_y) {
  level_data level = ground();
  level.objects = {{1, -150, 79}, {0, 0, crate_y}};
  level_play play(level);
  squeeze seen;
  int held = 0;  // the arrow key held: -1 Left, 1 Right
  while (play.tick() < 900) {
    play.run_until(play.tick() + 1);
    const obj_wobblet& b = play.blob(1);
    seen.lowest_centre = std::max(seen.lowest_centre, static_cast<double>(b.y));
    auto [top, bottom] = std::minmax_element(b.rim_y, b.rim_y + blob_tuning::RIM_POINTS);
    seen.flattest = std::min(seen.flattest, *bottom - *top);
    long t = play.tick();
    int want = t < 100 || t > 330 ? 0 : b.x < 12 ? 1 : b.x > 28 ? -1 : 0;  // hold it at x 20
    if (want == held) continue;
    if (held) play.release(t + 1, held > 0 ? SDLK_RIGHT : SDLK_LEFT);
    if (want) play.press(t + 1, want > 0 ? SDLK_RIGHT : SDLK_LEFT);
    held = want;
  }
  return seen;
}
}  // namespace

// A blob with nothing below it (past the ground's end, or under it) falls
// past the lowest triangle for ever; one over the ground near its end, or
// over a crate, lands. (A blob whose rim only just reaches over the end
// may slide off it: the finding names only the blobs that surely fall.)
TEST(FindingsInPlay, ABlobWithNothingBelowItFallsForEver) {
  level_data level = ground();
  level.objects = {{1, 0, 50},     {2, 1500, 50},   {3, 975, 50},
                   {4, -1150, 50}, {0, -1170, 150}, {5, 0, 600}};
  std::vector<std::string> problems = problems_of(level);
  EXPECT_TRUE(mentions(problems,
                       "object 2 (blob 2 at (1500, 50)): nothing lies below it between x "
                       "1481 and 1519, neither terrain nor a crate: it falls for ever"));
  EXPECT_TRUE(mentions(problems, "object 6 (blob 5 at (0, 600)): nothing lies below it"));
  EXPECT_EQ(problems.size(), 2u) << problems[0];

  level_play play(level);
  play.run_until(300);
  for (int type : {2, 5}) EXPECT_GT(play.blob(type).y, 2000) << "blob " << type << " falls on";
  EXPECT_LT(play.blob(1).y, 100) << "on the ground";
  EXPECT_LT(play.blob(3).y, 100) << "on the ground near its end";
  EXPECT_LT(play.blob(4).y, 150) << "on the crate";
}

// Under a crate whose lowest place leaves less room than a blob's height
// the blob is pressed flat, and with no free row at all its centre is
// pushed out through the ground; resting on the ground, or with room for a
// blob, the crate never does either.
TEST(FindingsInPlay, ACrateTooCloseAboveTheGroundPushesABlobThroughIt) {
  struct {
    int room;  // pixels from the crate's bottom edge at its lowest to the ground
    bool problem;
  } cases[] = {{0, false}, {1, true}, {18, true}, {39, true}, {40, false}};
  for (const auto& c : cases) {
    level_data level = ground();
    level.objects = {{0, 0, 100 - c.room - 32}};
    EXPECT_EQ(mentions(problems_of(level), "above the ground"), c.problem) << c.room;
  }

  squeeze none = caught_under_crate(100 - 1 - 32);
  EXPECT_GT(none.lowest_centre, 400) << "pushed through the ground, and falling";
  squeeze tight = caught_under_crate(100 - 18 - 32);
  EXPECT_LT(tight.lowest_centre, 100) << "still above the ground";
  EXPECT_LT(tight.flattest, 20) << "but pressed flat";
  squeeze roomy = caught_under_crate(100 - 40 - 32);
  EXPECT_LT(roomy.lowest_centre, 90);
  EXPECT_GT(roomy.flattest, 30) << "never pressed";
}
