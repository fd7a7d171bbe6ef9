// The project's JSON level source: what it builds, and every value it refuses.
#include "project_source.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "level_source.h"
#include "support/plain_ring_check.h"

namespace {
struct built {
  level_data level;
  std::vector<std::string> problems;
};

built build(const std::string& text) {
  problem_list problems("demo.json");
  built result;
  result.level = read_project_source(nlohmann::json::parse(text), problems);
  result.problems = problems.lines();
  return result;
}

// The single problem a source gives.
std::string only_problem(const std::string& text) {
  built b = build(text);
  if (b.problems.size() != 1)
    return "expected one problem, got " + std::to_string(b.problems.size());
  return b.problems[0];
}

std::string terrain(const std::string& item) { return "{\"terrain\": [" + item + "]}"; }
std::string object(const std::string& item) { return "{\"objects\": [" + item + "]}"; }
}  // namespace

TEST(ProjectSource, ThreePointsAreOneTriangleWithCornersAndColoursInOrder) {
  built b = build(terrain(R"({"points": [[5, -7], [300, 2], [-32639, 32639]],
                              "colors": ["#ff0080", [1, 2, 3], "#00FF00"]})"));
  ASSERT_TRUE(b.problems.empty()) << b.problems[0];
  ASSERT_EQ(b.level.triangles.size(), 1u);
  const level_vertex* v = b.level.triangles[0].v;
  EXPECT_EQ(v[0].x, 5);
  EXPECT_EQ(v[0].y, -7);
  EXPECT_EQ(v[2].x, -32639);
  EXPECT_EQ(v[2].y, 32639);
  EXPECT_EQ(v[0].r, 255);
  EXPECT_EQ(v[0].g, 0);
  EXPECT_EQ(v[0].b, 128);
  EXPECT_EQ(v[1].r, 1);
  EXPECT_EQ(v[1].g, 2);
  EXPECT_EQ(v[1].b, 3);
  EXPECT_EQ(v[2].g, 255);
  EXPECT_EQ(b.level.vertex_count, 3);
}

TEST(ProjectSource, PolygonsBecomeTrianglesCarryingTheirPointsColours) {
  built b = build(terrain(
      R"({"name": "step", "points": [[0, 0], [100, 0], [100, 50], [60, 50], [60, 100], [0, 100], [0, 0]],
                              "colors": ["#010101", "#020202", "#030303", "#040404", "#050505", "#060606", "#070707"]},
                             {"points": [[0, 200], [10, 200], [10, 210], [0, 210]], "color": "#123456"})"));
  ASSERT_TRUE(b.problems.empty()) << b.problems[0];
  // The repeated closing point is dropped: six points, four triangles; then
  // the square's two.
  ASSERT_EQ(b.level.triangles.size(), 6u);
  for (int k = 0; k < 4; ++k)
    for (const level_vertex& v : b.level.triangles[k].v) {
      // Each corner keeps the colour given to its point: point n has grey n.
      int n = v.x == 0 ? (v.y == 0 ? 1 : 6) : v.x == 100 ? (v.y == 0 ? 2 : 3) : (v.y == 50 ? 4 : 5);
      EXPECT_EQ(v.r, n) << "corner (" << v.x << ", " << v.y << ")";
    }
  for (const level_vertex& v : b.level.triangles[5].v) EXPECT_EQ(v.g, 0x34);
}

TEST(ProjectSource, ObjectsByNameOrCode) {
  built b = build(object(R"({"type": "crate", "x": 1, "y": 2}, {"type": "platform", "x": 3, "y": 4},
                            {"type": "blob", "style": 5, "x": -5, "y": -6}, {"type": 2, "x": 7, "y": 8},
                            {"type": 0, "x": 9, "y": 10, "name": "lift", "comment": "carries blob 2"})"));
  ASSERT_TRUE(b.problems.empty()) << b.problems[0];
  ASSERT_EQ(b.level.objects.size(), 5u);
  int types[] = {0, 0, 5, 2, 0};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(b.level.objects[k].type, types[k]);
  EXPECT_EQ(b.level.objects[2].x, -5);
  EXPECT_EQ(b.level.objects[2].y, -6);
}

TEST(ProjectSource, ValuesALevelFileCannotHoldAreNamedWithTheirObject) {
  EXPECT_EQ(only_problem(terrain(
                R"({"name": "far", "points": [[0, 0], [32641, 0], [0, 5]], "color": "#ffffff"})")),
            "demo.json: terrain item 1 \"far\": point 2 x 32641 is beyond the -32640..32640 pixels "
            "a level file holds");
  EXPECT_EQ(
      only_problem(terrain(R"({"points": [[0, 0], [5, -40000], [0, 5]], "color": "#ffffff"})")),
      "demo.json: terrain item 1: point 2 y -40000 is beyond the -32640..32640 pixels a level file "
      "holds");
  EXPECT_EQ(only_problem(terrain(R"({"points": [[0, 0], [5.5, 0], [0, 5]], "color": "#ffffff"})")),
            "demo.json: terrain item 1: point 2 x 5.5 is not a whole number of pixels");
  EXPECT_EQ(only_problem(object(R"({"type": "blob", "style": 1, "x": 0, "y": 99999})")),
            "demo.json: object 1: y 99999 is beyond the -32640..32640 pixels a level file holds");
  EXPECT_EQ(only_problem(object(R"({"type": 9, "x": 0, "y": 0})")),
            "demo.json: object 1: type code 9 is not one the game makes (0 crate, 1..5 blob)");
  EXPECT_EQ(only_problem(object(R"({"type": -1, "x": 0, "y": 0})")),
            "demo.json: object 1: type code -1 is not one the game makes (0 crate, 1..5 blob)");
  EXPECT_EQ(only_problem(object(R"({"name": "hero", "type": "blob", "style": 6, "x": 0, "y": 0})")),
            "demo.json: object 1 \"hero\": blob style 6 is not one of 1..5");
}

TEST(ProjectSource, SelfOverlappingPolygonsAreRefusedByName) {
  EXPECT_EQ(
      only_problem(terrain(
          R"({"name": "bow tie", "points": [[0, 0], [100, 100], [100, 0], [0, 100]], "color": "#ffffff"})")),
      "demo.json: terrain item 1 \"bow tie\": cannot be split into triangles: it overlaps itself: "
      "edge 1-2 crosses or touches edge 3-4");
}

TEST(ProjectSource, MalformedItemsSayWhatIsWrong) {
  struct {
    const char* source;
    const char* problem;
  } cases[] = {
      {R"({"terrain": [{"points": [[0, 0], [1, 1]], "color": "#ffffff"}]})",
       "needs \"points\": a list of at least three [x, y] pairs"},
      {R"({"terrain": [{"points": [[0, 0], [1], [0, 1]], "color": "#ffffff"}]})",
       "point 2 is [1], not an [x, y] pair"},
      {R"({"terrain": [{"points": [[0, 0], ["1", 0], [0, 1]], "color": "#ffffff"}]})",
       "point 2 x is \"1\", not a number"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]]}]})", "needs either \"color\""},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "color": "#fff", "colors": []}]})",
       "needs either \"color\""},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "colors": ["#ffffff"]}]})",
       "must list one colour for each of its 3 points"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "color": "#12345"}]})",
       "is not of the form #RRGGBB"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "color": "#12345g"}]})",
       "not a hex digit"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "color": "#80ffffff"}]})",
       "partly transparent"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "color": [256, 0, 0]}]})",
       "not a whole number 0..255"},
      {R"({"terrain": [{"points": [[0, 0], [1, 0], [0, 1]], "colour": "#ffffff", "color": "#ffffff"}]})",
       "unknown key \"colour\""},
      {R"({"terrain": [7]})", "terrain item 1: is 7, not an object"},
      {R"({"terrain": {}})", "\"terrain\" must be a list"},
      {R"({"objects": [{"type": "tree", "x": 0, "y": 0}]})", "\"tree\" is not a kind of object"},
      {R"({"objects": [{"type": "blob", "x": 0, "y": 0}]})", "a blob needs a style 1..5"},
      {R"({"objects": [{"type": "crate", "style": 2, "x": 0, "y": 0}]})", "a crate has no style"},
      {R"({"objects": [{"type": 3, "style": 3, "x": 0, "y": 0}]})",
       "give a style only with \"type\": \"blob\""},
      {R"({"objects": [{"x": 0, "y": 0}]})", "needs \"type\""},
      {R"({"objects": [{"type": "crate", "x": 0}]})", "needs \"y\""},
      {R"({"triangles": []})", "unknown key \"triangles\""},
      {R"([1, 2])", "not a level object"},
  };
  for (const auto& c : cases) {
    std::string problem = only_problem(c.source);
    EXPECT_NE(problem.find(c.problem), std::string::npos) << c.source << "\n gave: " << problem;
  }
}

TEST(ProjectSource, EveryProblemOfAFileIsReportedInOneRun) {
  built b = build(R"({"terrain": [{"points": [[0, 0], [1e9, 0], [0, 1]], "color": "#ffffff"},
                                  {"points": [[0, 0], [1, 0], [0, 1]], "color": "red"}],
                      "objects": [{"type": "blob", "style": 0, "x": 0, "y": 0}]})");
  EXPECT_EQ(b.problems.size(), 3u);
}

TEST(ProjectSource, MoreTrianglesThanAFileCountsAreRefused) {
  auto triangles = [](int count) {
    std::string items;
    for (int k = 0; k < count; ++k)
      items +=
          std::string(k ? "," : "") + R"({"points": [[0, 0], [1, 0], [0, 1]], "color": "#ffffff"})";
    return terrain(items);
  };
  EXPECT_EQ(only_problem(triangles(10881)),
            "demo.json: the level has 10881 triangles; a level file holds at most 10880");
  EXPECT_TRUE(build(triangles(10880)).problems.empty());
}

// A ring whose triangles cannot fit is refused by counting its convex
// corners, before it is checked or split, and so is every ring after it:
// one line says the level is too large, with the fewest triangles it makes.
TEST(ProjectSource, RingsTooBigForALevelFileAreRefusedBeforeTheyAreSplit) {
  auto ring_item = [](int points) {
    std::string item = R"({"color": "#808080", "points": [)";
    std::vector<point2> ring = sawtooth_ring(points);
    for (std::size_t i = 0; i < ring.size(); ++i)
      item += (i ? ",[" : "[") + std::to_string(ring[i].x) + "," + std::to_string(ring[i].y) + "]";
    return item + "]}";
  };
  auto fewest = [](int points) { return fewest_triangles(sawtooth_ring(points)); };
  EXPECT_EQ(only_problem(terrain(ring_item(40000))),
            "demo.json: the level has at least " + std::to_string(fewest(40000)) +
                " triangles; a level file holds at most 10880");
  std::size_t first = build(terrain(ring_item(10000))).level.triangles.size();
  std::string rings = ring_item(10000);
  for (int k = 0; k < 100; ++k) rings += "," + ring_item(2000);
  built many = build(terrain(rings));
  EXPECT_EQ(many.problems, std::vector<std::string>{
                               "demo.json: the level has at least " +
                               std::to_string(first + 100 * fewest(2000)) +
                               " triangles; a level file holds at most 10880"});
  EXPECT_EQ(many.level.triangles.size(), first) << "no ring after the first that cannot fit is split";
}

// The nesting limit is counted over the brackets before parsing: up to 200
// levels pass, 201 are refused, and brackets inside strings (escaped quotes
// and backslashes included) do not count.
TEST(ProjectSource, NestingIsCountedOutsideStringsUpToTwoHundred) {
  auto repeat = [](const std::string& text, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) out += text;
    return out;
  };
  auto deep = [&repeat](int levels) {  // the outer object and the terrain list are two
    return "{\"terrain\": " + repeat("[", levels - 1) + repeat("]", levels - 1) + "}";
  };
  const std::string too_deep = "nested more than 200 levels deep";
  const std::pair<std::string, bool> cases[] = {
      {deep(200), false},
      {deep(201), true},
      {"{\"comment\": \"" + repeat("[", 1000) + "\", \"objects\": []}", false},
      {"{\"comment\": \"\\\"" + repeat("{", 1000) + "\", \"objects\": []}", false},
      {"{\"comment\": \"\\\\\", \"terrain\": " + repeat("[", 300) + repeat("]", 300) + "}", true},
  };
  for (const auto& [text, refused] : cases) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    problem_list problems("deep.json");
    level_data level;
    level_from_source(bytes, level, problems);
    bool said = !problems.empty() && problems.lines()[0].find(too_deep) != std::string::npos;
    EXPECT_EQ(said, refused) << text.substr(0, 40)
                             << "...: " << (problems.empty() ? "" : problems.lines()[0]);
  }
}
