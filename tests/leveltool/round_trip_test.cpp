// dump then build gives back the very bytes of any level file build writes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>

#include "level_encoder.h"
#include "project_source.h"
#include "support/test_depth.h"

namespace {
std::vector<std::uint8_t> rebuilt(const std::vector<std::uint8_t>& bytes) {
  level_data parsed = parse_level(bytes.data(), bytes.size());
  std::string text = write_project_source(parsed);
  problem_list problems("dumped.json");
  level_data again = read_project_source(nlohmann::json::parse(text), problems);
  EXPECT_TRUE(problems.empty()) << problems.lines()[0] << "\n" << text;
  return encode_level(again);
}

// Coordinates near the places where the number triple changes form: the
// sign, each multiple of 255, the low byte's skipped 128, the range's ends.
int awkward_coordinate(std::mt19937& random) {
  static const int edges[] = {0,   1,   -1,  127,   128,    129,  254,  255,  256,
                              382, 383, 510, 32639, -32639, -128, -255, 32385};
  std::uniform_int_distribution<int> pick(0, 2 * static_cast<int>(std::size(edges)) - 1);
  int k = pick(random);
  if (k < static_cast<int>(std::size(edges))) return edges[k];
  return std::uniform_int_distribution<int>(-LEVEL_COORD_MAX, LEVEL_COORD_MAX)(random);
}

level_data random_level(std::mt19937& random) {
  level_data level;
  std::uniform_int_distribution<int> count(0, 40), byte(0, 255), type(0, 5);
  int triangles = count(random), objects = count(random) / 4;
  for (int k = 0; k < triangles; ++k) {
    level_triangle t;
    // Half of them one colour, so both of the dump's colour forms appear.
    bool one_colour = byte(random) < 128;
    int r = byte(random), g = byte(random), b = byte(random);
    for (level_vertex& v : t.v) {
      v = {awkward_coordinate(random), awkward_coordinate(random), r, g, b};
      if (!one_colour) v.r = byte(random), v.g = byte(random), v.b = byte(random);
    }
    level.triangles.push_back(t);
  }
  for (int k = 0; k < objects; ++k)
    level.objects.push_back({type(random), awkward_coordinate(random), awkward_coordinate(random)});
  return level;
}
}  // namespace

TEST(RoundTrip, DumpThenBuildGivesTheSameBytes) {
  std::mt19937 random(20240611);  // fixed: the same levels every run
  for (int run = 0, runs = deep_or(200, 40); run < runs; ++run) {
    std::vector<std::uint8_t> bytes = encode_level(random_level(random));
    ASSERT_EQ(rebuilt(bytes), bytes) << "level " << run;
  }
}

TEST(RoundTrip, EmptyLevelAndDegenerateTriangles) {
  level_data empty;
  std::vector<std::uint8_t> bytes = encode_level(empty);
  EXPECT_EQ(rebuilt(bytes), bytes);
  level_data lines;
  lines.triangles.push_back({{{0, 0, 1, 2, 3}, {0, 0, 4, 5, 6}, {10, 10, 7, 8, 9}}});
  lines.triangles.push_back({{{0, 0, 9, 9, 9}, {5, 0, 9, 9, 9}, {10, 0, 9, 9, 9}}});
  bytes = encode_level(lines);
  EXPECT_EQ(rebuilt(bytes), bytes);
}
