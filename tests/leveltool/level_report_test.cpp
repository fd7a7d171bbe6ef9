// What check finds in a level file: counts beyond the data, type codes the
// game skips, blobs and crates starting inside terrain.
#include "level_report.h"

#include <gtest/gtest.h>

#include "level/terrain.h"
#include "level_encoder.h"

namespace {
// Ground from x -1000 to 1000, its top at y 100.
level_data ground_level() {
  level_data level;
  level.triangles.push_back({{{-1000, 100, 0, 0, 0}, {1000, 100, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  level.triangles.push_back({{{1000, 100, 0, 0, 0}, {1000, 300, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
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

std::string all(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}
}  // namespace

TEST(LevelReport, ASoundLevelHasFactsAndNoProblems) {
  level_data level = ground_level();
  level.objects = {{1, 0, 50}, {0, 200, 60}, {2, -300, -200}};
  level_report report = examine(level);
  EXPECT_TRUE(report.problems.empty()) << all(report.problems);
  EXPECT_TRUE(mentions(report.facts, "triangles: 2 (vertex count 6)"));
  EXPECT_TRUE(mentions(report.facts, "terrain: x -1000..1000, y 100..300"));
  EXPECT_TRUE(mentions(report.facts, "objects: 3 (1 crates, 2 blobs)"));
  EXPECT_TRUE(mentions(report.facts, "object 1: blob 1 at (0, 50), under control at the start"));
  EXPECT_TRUE(
      mentions(report.facts, "object 2: crate at (200, 60), top edge rides between y -140 and 60"));
  EXPECT_EQ(report_text(report).substr(report_text(report).size() - 12), "no problems\n");
}

TEST(LevelReport, CountsReachingPastTheDataAreProblems) {
  std::vector<std::uint8_t> bytes = encode_level(ground_level());
  bytes.resize(4 + 27 + 10);  // the second triangle cut short
  level_report report = examine(bytes);
  EXPECT_TRUE(mentions(report.problems,
                       "the vertex count 6 asks for 2 triangles, but only 1 whole ones fit"))
      << all(report.problems);

  bytes = encode_level(ground_level());
  bytes.resize(4 + 2 * 27 + 1);  // ends inside the object count
  EXPECT_TRUE(mentions(examine(bytes).problems, "the file ends before the object count"));

  level_data level = ground_level();
  level.objects = {{1, 0, 50}, {2, 40, 50}};
  bytes = encode_level(level);
  bytes.pop_back();
  EXPECT_TRUE(mentions(examine(bytes).problems,
                       "the object count 2 asks for more records than the 1 whole ones"));

  EXPECT_TRUE(mentions(examine(std::vector<std::uint8_t>{0, 1}).problems,
                       "too short to hold a vertex count"));
}

TEST(LevelReport, OddButHarmlessLayoutsAreNotes) {
  std::vector<std::uint8_t> bytes = encode_level(ground_level());
  bytes.push_back(42);
  bytes.push_back(42);
  level_report report = examine(bytes);
  EXPECT_TRUE(report.problems.empty());
  EXPECT_TRUE(mentions(report.notes, "2 bytes after the last record are not read"));

  bytes = encode_level(ground_level());
  bytes[3] = 4;  // vertex count 4: the game still reads two whole triangles
  report = examine(bytes);
  EXPECT_TRUE(mentions(report.notes, "is not a multiple of 3; the game reads whole triangles, 2"));

  level_data level = ground_level();
  level.triangles.push_back({{{0, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {10, 0, 0, 0, 0}}});
  EXPECT_TRUE(mentions(examine(level).notes, "triangle 3 has no area"));
}

TEST(LevelReport, TypeCodesTheGameSkipsAreProblems) {
  level_data level = ground_level();
  level.objects = {{6, 0, 0}, {-1, 0, -100}, {127, 0, -200}};
  level_report report = examine(level);
  EXPECT_EQ(report.problems.size(), 3u) << all(report.problems);
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
                   {4, 530, 40}};  // ... whose bottom edge the rim reaches
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
                   {0, 30, 40},    // clear of the ground, but overlapping the first
                   {0, 2000, 0},   // nowhere near
                   {0, 200, 68}};  // resting on the ground
  level_report report = examine(level);
  EXPECT_TRUE(mentions(report.problems, "object 1 (crate at (0, 69)): it starts inside terrain"))
      << all(report.problems);
  EXPECT_EQ(report.problems.size(), 1u) << all(report.problems);
  EXPECT_TRUE(mentions(report.notes, "object 2 (crate at (30, 40)): it overlaps object 1"));

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
