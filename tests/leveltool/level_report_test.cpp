// What check finds in a level file: counts that do not match the data, type
// codes the game skips, blobs and crates starting inside terrain, turns of
// Tab with no blob to control.
#include "level_report.h"

#include <gtest/gtest.h>

#include <set>

#include "blob/wobblet.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "support/test_depth.h"
#include "synthetic_level.h"

namespace {
// Ground from x -1000 to 1000, its top at y 100.
level_data ground_level() {
  level_data level;
  level.triangles.push_back({{{-1000, 100, 0, 0, 0}, {1000, 100, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  level.triangles.push_back({{{1000, 100, 0, 0, 0}, {1000, 300, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  return level;
}

// The ground with one blob of each style resting on it, spread out.
level_data ground_with_blobs() {
  level_data level = ground_level();
  for (int style = 1; style <= 5; ++style) level.objects.push_back({style, 100 * style - 300, 70});
  return level;
}

level_report examine(const std::vector<std::uint8_t>& bytes) {
  level_report report = examine_level(bytes.data(), bytes.size());
  EXPECT_EQ(start_ptr, nullptr) << "check leaves triangles behind";
  return report;
}

level_report examine(const level_data& level) { return examine(encode_level(level)); }

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

std::string line_with(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return line;
  return "";
}

std::string all(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}
}  // namespace

TEST(LevelReport, ASoundLevelHasFactsAndNoProblems) {
  level_data level = ground_level();
  level.objects = {{1, 0, 50},    {0, 200, 68}, {2, -300, -200},
                   {3, -100, 50}, {4, 400, 50}, {5, 600, 50}};
  level_report report = examine(level);
  EXPECT_TRUE(report.problems.empty()) << all(report.problems);
  EXPECT_TRUE(report.notes.empty()) << all(report.notes);
  EXPECT_TRUE(mentions(report.facts, "triangles: 2 (vertex count 6)"));
  EXPECT_TRUE(mentions(report.facts, "terrain: x -1000..1000, y 100..300"));
  EXPECT_TRUE(mentions(report.facts, "objects: 6 (1 crate, 5 blobs)"));
  EXPECT_TRUE(mentions(report.facts, "object 1: blob 1 at (0, 50), under control at the start"));
  EXPECT_TRUE(
      mentions(report.facts, "object 2: crate at (200, 68), top edge rides between y -132 and 68"));
  EXPECT_EQ(report_text(report).substr(report_text(report).size() - 12), "no problems\n");
}

TEST(LevelReport, CountsReachingPastTheDataAreProblems) {
  std::vector<std::uint8_t> bytes = encode_level(ground_level());
  bytes.resize(4 + 27 + 10);  // the second triangle cut short
  level_report report = examine(bytes);
  EXPECT_TRUE(mentions(report.problems,
                       "the vertex count 6 asks for 2 triangles, but only 1 whole one fits"))
      << all(report.problems);

  bytes = encode_level(ground_level());
  bytes.resize(4 + 2 * 27 + 1);  // ends inside the object count
  EXPECT_TRUE(mentions(examine(bytes).problems, "the file ends before the object count"));

  level_data level = ground_level();
  level.objects = {{1, 0, 50}, {2, 40, 50}};
  bytes = encode_level(level);
  bytes.pop_back();
  EXPECT_TRUE(mentions(examine(bytes).problems,
                       "the object count 2 asks for more records than the 1 whole one that"));

  EXPECT_TRUE(mentions(examine(std::vector<std::uint8_t>{0, 1}).problems,
                       "too short to hold a vertex count"));
}

TEST(LevelReport, OddButHarmlessLayoutsAreNotes) {
  std::vector<std::uint8_t> bytes = encode_level(ground_with_blobs());
  bytes[3] = 4;  // vertex count 4: the game still reads two whole triangles
  level_report report = examine(bytes);
  EXPECT_TRUE(report.problems.empty()) << all(report.problems);
  EXPECT_TRUE(mentions(report.notes, "is not a multiple of 3; the game reads whole triangles, 2"));

  level_data level = ground_level();
  level.triangles.push_back({{{0, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {10, 0, 0, 0, 0}}});
  EXPECT_TRUE(mentions(examine(level).notes, "triangle 3 has no area"));
}

TEST(LevelReport, TypeCodesTheGameSkipsAreProblems) {
  level_data level = ground_level();
  level.objects = {{6, 0, 0}, {-1, 0, -100}, {127, 0, -200}};
  level_report report = examine(level);
  EXPECT_EQ(report.problems.size(), 4u) << all(report.problems);
  EXPECT_TRUE(mentions(report.problems, "no blobs"));
  EXPECT_TRUE(
      mentions(report.problems,
               "object 1 (unknown type code 6 at (0, 0)): type code 6 is not one the game makes"));
  EXPECT_TRUE(mentions(
      report.facts,
      "object 2: unknown type code -1 at (0, -100) (a second level object; the game skips it)"));
}

TEST(LevelReport, BlobsMustStartInOpenAir) {
  level_data level = ground_level();
  level.objects = {{1, 0, 150},    // centre in the ground
                   {2, 100, 85},   // rim 5 pixels into the ground
                   {3, 300, 79},   // clear by one pixel
                   {0, 500, 0},    // a crate from y 0 to 32 ...
                   {4, 530, 40},   // ... whose bottom edge the rim reaches
                   {5, -300, 0}};  // in the open
  level_report report = examine(level);
  EXPECT_TRUE(
      mentions(report.problems, "object 1 (blob 1 at (0, 150)): its centre starts inside terrain"))
      << all(report.problems);
  EXPECT_TRUE(mentions(
      report.problems,
      "object 2 (blob 2 at (100, 85)): its rim starts inside terrain or a crate at (88, 101)"));
  EXPECT_FALSE(mentions(report.problems, "object 3"));
  EXPECT_TRUE(mentions(report.problems, "object 5 (blob 4 at (530, 40)): its rim starts inside"));
  EXPECT_EQ(report.problems.size(), 3u) << all(report.problems);
}

TEST(LevelReport, CratesMustStartClearOfTerrain) {
  level_data level = ground_level();
  level.objects = {{0, 0, 69},     // bottom edge one pixel into the ground
                   {0, 30, 68},    // resting on the ground, but overlapping the first
                   {0, 2000, 0},   // nowhere near
                   {0, 200, 68},   // resting on the ground
                   {1, 400, 70}};  // blob 1, on the ground
  level_report report = examine(level);
  EXPECT_TRUE(mentions(report.problems, "object 1 (crate at (0, 69)): it starts inside terrain"))
      << all(report.problems);
  EXPECT_TRUE(mentions(report.problems, "no blob 2, 3, 4 or 5"));
  EXPECT_EQ(report.problems.size(), 2u) << all(report.problems);
  EXPECT_TRUE(mentions(report.notes, "object 2 (crate at (30, 68)): it overlaps object 1"));

  level.objects = {{0, 0, 300}};  // hanging from the ground's underside: rises up through it
  EXPECT_TRUE(mentions(examine(level).notes, "on its way up it passes through terrain"));
}

TEST(LevelReport, TheFirstFrameAndTheControlledBlob) {
  level_data level = ground_level();
  level.objects = {{1, 900, 0}};
  EXPECT_TRUE(mentions(examine(level).notes,
                       "the first frame (x -400..400, y -300..300) does not show it"));
  level.objects = {{2, 0, 0}};
  EXPECT_TRUE(mentions(examine(level).notes, "no blob 1"));
}

// Data the counts do not account for, and negative counts, are what a
// damaged file or one that is no level file at all looks like.
TEST(LevelReport, CountsThatDoNotAccountForTheFileAreProblems) {
  std::vector<std::uint8_t> level = encode_level(ground_level());
  std::vector<std::uint8_t> bytes = level;
  bytes.push_back(42);
  std::string line = line_with(examine(bytes).problems, "not read");
  EXPECT_NE(line.find("1 byte "), std::string::npos) << line;
  EXPECT_NE(line.find(std::to_string(bytes.size()) + " bytes"), std::string::npos) << line;
  bytes.push_back(42);
  EXPECT_TRUE(mentions(examine(bytes).problems, "2 bytes after the last object record"));

  bytes = level;
  bytes[bytes.size() - 3] = 0;  // the object count 0 becomes -5 ...
  bytes.back() = 5;
  EXPECT_TRUE(mentions(examine(bytes).problems, "the object count is -5"));
  bytes.insert(bytes.end(), 7, 0);  // ... with one record's worth after it
  line = line_with(examine(bytes).problems, "the object count is -5");
  EXPECT_NE(line.find("7 bytes"), std::string::npos) << line;

  bytes = level;
  bytes[1] = 0;  // the vertex count 6 becomes -6: the object count is read at byte 4
  EXPECT_TRUE(mentions(examine(bytes).problems, "the vertex count is -6"));

  level_report empty = examine(std::vector<std::uint8_t>{});
  ASSERT_EQ(empty.problems.size(), 1u) << all(empty.problems);
  EXPECT_NE(empty.problems[0].find("empty"), std::string::npos);
  EXPECT_EQ(empty.problems[0].find("record"), std::string::npos);

  // Random bytes of every size, up to 10 MB in the deep run.
  for (std::size_t size : {10u, 1000u, 100'000u, 10'000'000u})
    for (std::uint64_t seed = 1; seed <= (size < 100'000u    ? 20u
                                          : size < 10'000'000u ? deep_or(20u, 1u)
                                                               : deep_or(3u, 0u));
         ++seed)
      EXPECT_FALSE(examine(random_level_bytes(size, seed)).problems.empty())
          << size << " random bytes, seed " << seed;
}

namespace {
// The styles (1..5) whose turn of Tab leaves no blob under control, as the
// game itself plays it: the level's blobs are made and Tab is pressed five
// times, looking before each press for a blob with control index 0.
std::set<int> styles_the_game_leaves_uncontrolled(const level_data& level) {
  for (const level_object& o : level.objects) instance_create(o.x, o.y, o.type);
  std::set<int> missing;
  SDL_Event tab{};
  tab.type = SDL_KEYDOWN;
  tab.key.keysym.sym = SDLK_TAB;
  for (int turn = 0; turn < 5; ++turn) {
    bool controlled = false;
    for (obj_parent* o = start_obj; o; o = o->next)
      if (auto* blob = dynamic_cast<obj_wobblet*>(o)) controlled |= blob->control_index == 0;
    if (!controlled) missing.insert(turn + 1);
    dispatch_event(tab);
  }
  destroy_all_instances();
  return missing;
}
}  // namespace

// Every set of styles, some twice: the report's missing styles are exactly
// the turns on which the game has no blob under control; blobs of one style
// get a note, and a level without blobs is not a Tab problem.
TEST(LevelReport, TabLeavingNoBlobUnderControlIsAProblem) {
  for (int styles = 0; styles < 32; ++styles) {
    level_data level = ground_level();
    for (int style = 1; style <= 5; ++style)
      if (styles & (1 << (style - 1))) level.objects.push_back({style, 100 * style, 0});
    if (styles == 0b10110) level.objects.push_back({3, -100, 0});
    std::set<int> missing = styles_the_game_leaves_uncontrolled(level);
    level_report report = examine(level);
    std::string line = line_with(report.problems, "Tab");
    if (styles == 0 || styles == 31) {
      EXPECT_EQ(line, "") << styles;
      continue;
    }
    std::string named = line.substr(0, line.find(':'));
    for (int style = 1; style <= 5; ++style)
      EXPECT_EQ(named.find(std::to_string(style)) != std::string::npos, missing.count(style) == 1)
          << "style " << style << " in: " << line;
  }
  level_data level = ground_level();
  level.objects = {{1, 0, 0},   {3, 50, 0},  {1, 100, 0}, {3, 150, 0},
                   {1, 200, 0}, {2, 250, 0}, {4, 300, 0}, {5, 350, 0}};
  level_report report = examine(level);
  EXPECT_TRUE(report.problems.empty()) << all(report.problems);
  EXPECT_NE(line_with(report.notes, "objects 1, 3 and 5").find("blob 1"), std::string::npos)
      << all(report.notes);
  EXPECT_NE(line_with(report.notes, "objects 2 and 4").find("blob 3"), std::string::npos)
      << all(report.notes);
  // No blob at all: nothing is ever steered, which spoils the level as
  // surely as one missing style does.
  level.objects = {{0, 0, 0}};
  EXPECT_TRUE(mentions(examine(level).problems, "no blobs: nothing is ever under control"));
}

// Objects built from a source are named as the source names them (a Tiled
// map by its object ids), in facts, problems and notes alike; a level file's
// by their place in it.
TEST(LevelReport, ObjectsAreNamedAsTheirSourceNamesThem) {
  level_data level = ground_with_blobs();
  level.objects.push_back({1, 700, 70});
  level.objects.push_back({0, 900, 50});  // 18 pixels above the ground at its lowest
  std::vector<std::uint8_t> bytes = encode_level(level);
  std::vector<std::string> names;
  for (std::size_t k = 0; k < level.objects.size(); ++k)
    names.push_back("object " + std::to_string(30 + k) + " in layer \"L\"");
  level_report named = examine_level(bytes.data(), bytes.size(), names);
  EXPECT_TRUE(
      mentions(named.facts, "object 30 in layer \"L\": blob 1 at (-200, 70), under control"));
  EXPECT_EQ(all(named.problems),
            "object 36 in layer \"L\" (crate at (900, 50)): at its lowest it is 18 pixels above "
            "the ground (at x 900): a blob caught under it is pressed flat, or pushed out through "
            "the ground; rest it on the ground or leave 40 pixels\n");
  EXPECT_TRUE(mentions(named.notes,
                       "object 30 in layer \"L\" and object 35 in layer \"L\", each a "
                       "blob 1, are under control together"))
      << all(named.notes);
  level_report by_place = examine(bytes);
  EXPECT_TRUE(mentions(by_place.problems, "object 7 (crate at (900, 50)): at its lowest"));
  EXPECT_TRUE(mentions(by_place.notes, "objects 1 and 6, each a blob 1"));
}
