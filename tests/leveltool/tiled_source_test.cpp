// Importing maps saved by Tiled: the small map under data/ was written by
// Tiled 1.8 itself (exported from small_map.tmx), the error cases are small
// hand-made maps.
#include "tiled_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "level_source.h"

namespace {
using nlohmann::json;

std::string data_file(const std::string& name) {
  return std::string(LEVELTOOL_TEST_DATA) + "/" + name;
}

struct imported {
  level_data level;
  std::vector<std::string> problems, notes;
};

imported import_objects(const std::string& objects, const std::string& layer_extra = "") {
  std::string text = R"({"type": "map", "orientation": "orthogonal", "layers": [
      {"type": "objectgroup", "name": "L", "objects": [)" +
                     objects + "]" + layer_extra + "}]}";
  problem_list problems("map.tmj");
  imported result;
  result.level = read_tiled_map(json::parse(text), problems);
  result.problems = problems.lines();
  result.notes = problems.notes();
  return result;
}

std::string only_problem(const std::string& objects) {
  imported i = import_objects(objects);
  return i.problems.size() == 1 ? i.problems[0]
                                : "got " + std::to_string(i.problems.size()) + " problems";
}

using corner = std::pair<int, int>;
std::vector<corner> corners_of(const level_data& level, std::size_t first, std::size_t count) {
  std::vector<corner> out;
  for (std::size_t k = first; k < first + count; ++k)
    for (const level_vertex& v : level.triangles[k].v) out.emplace_back(v.x, v.y);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}
}  // namespace

TEST(TiledSource, TheSmallMapImportsWithOffsetsRotationColoursAndObjects) {
  problem_list problems(data_file("small_map.json"));
  level_data level;
  ASSERT_TRUE(load_level_source(data_file("small_map.json"), level, problems))
      << problems.lines()[0];
  ASSERT_EQ(level.triangles.size(), 6u);
  // The floor rectangle (0, 256) 640 x 64 in two triangles, in its layer's colour.
  EXPECT_EQ(corners_of(level, 0, 2),
            (std::vector<corner>{{0, 256}, {0, 320}, {640, 256}, {640, 320}}));
  EXPECT_EQ(level.triangles[0].v[0].r, 0x80);
  EXPECT_EQ(level.triangles[1].v[2].b, 0xa0);
  // The hill: three points kept in order, its own colour with corner 2 red.
  const level_vertex* hill = level.triangles[2].v;
  EXPECT_EQ(hill[0].x, 100);
  EXPECT_EQ(hill[0].y, 256);
  EXPECT_EQ(hill[1].x, 150);
  EXPECT_EQ(hill[1].y, 216);
  EXPECT_EQ(hill[2].x, 200);
  EXPECT_EQ(hill[2].y, 256);
  EXPECT_EQ(hill[0].g, 0x40);
  EXPECT_EQ(hill[1].r, 0xff);
  EXPECT_EQ(hill[1].g, 0);
  EXPECT_EQ(hill[2].b, 0x60);
  // The ledge: 80 x 16 at (300, 150) turned 90 degrees clockwise, moved by
  // the group's (10, -20) and its layer's (5, 5); the map's grey.
  EXPECT_EQ(corners_of(level, 3, 2),
            (std::vector<corner>{{299, 135}, {299, 215}, {315, 135}, {315, 215}}));
  EXPECT_EQ(level.triangles[3].v[0].r, 0xc0);
  // The slope's fractional points round to the nearest pixel.
  const level_vertex* slope = level.triangles[5].v;
  EXPECT_EQ(corner(slope[0].x, slope[0].y), corner(415, 86));
  EXPECT_EQ(corner(slope[1].x, slope[1].y), corner(436, 86));
  EXPECT_EQ(corner(slope[2].x, slope[2].y), corner(415, 56));
  // Objects in map order; the hidden layer's rectangle is left out.
  ASSERT_EQ(level.objects.size(), 4u);
  EXPECT_EQ(level.objects[0].type, 1);
  EXPECT_EQ(corner(level.objects[0].x, level.objects[0].y), corner(64, 200));
  EXPECT_EQ(level.objects[1].type, 0);
  EXPECT_EQ(corner(level.objects[2].x, level.objects[2].y), corner(400, 220));
  EXPECT_EQ(level.objects[3].type, 5);
  EXPECT_EQ(corner(level.objects[3].x, level.objects[3].y), corner(501, 100));
  ASSERT_EQ(problems.notes().size(), 1u);
  EXPECT_NE(problems.notes()[0].find("layer \"notes\": note: hidden, left out"), std::string::npos);
}

TEST(TiledSource, ClassWrittenAsClassAndColourWithoutAlpha) {
  imported i = import_objects(R"({"id": 1, "class": "blob", "point": true, "x": 1, "y": 2,
                                  "properties": [{"name": "style", "type": "int", "value": 3}]},
                                 {"id": 2, "x": 0, "y": 0, "polygon": [{"x": 0, "y": 0}, {"x": 9, "y": 0}, {"x": 0, "y": 9}],
                                  "properties": [{"name": "color", "type": "color", "value": "#102030"}]},
                                 {"id": 3, "x": 0, "y": 0, "polygon": [{"x": 0, "y": 0}, {"x": 9, "y": 0}, {"x": 0, "y": 9}],
                                  "properties": [{"name": "color", "type": "color", "value": ""}]})");
  ASSERT_TRUE(i.problems.empty()) << i.problems[0];
  ASSERT_EQ(i.level.objects.size(), 1u);
  EXPECT_EQ(i.level.objects[0].type, 3);
  EXPECT_EQ(i.level.triangles[0].v[1].b, 0x30);
  EXPECT_EQ(i.level.triangles[1].v[0].r, 255) << "an unset colour leaves the terrain white";
}

TEST(TiledSource, ObjectsThatCannotBecomeALevelAreNamed) {
  struct {
    const char* object;
    const char* problem;
  } cases[] = {
      {R"({"id": 4, "name": "tpl", "template": "rock.tx", "x": 0, "y": 0})",
       "map.tmj: object 4 \"tpl\" in layer \"L\": is an instance of the template \"rock.tx\", "
       "which is not read"},
      {R"({"id": 5, "ellipse": true, "x": 0, "y": 0, "width": 9, "height": 9})",
       "an ellipse cannot be terrain"},
      {R"({"id": 6, "polyline": [{"x": 0, "y": 0}, {"x": 5, "y": 5}], "x": 0, "y": 0})",
       "a polyline is open"},
      {R"({"id": 7, "point": true, "x": 0, "y": 0})", "give it the class \"blob\" or \"crate\""},
      {R"({"id": 8, "gid": 3, "x": 0, "y": 0, "width": 32, "height": 32})",
       "a tile object cannot be terrain"},
      {R"({"id": 9, "type": "blob", "point": true, "x": 0, "y": 0})",
       "a blob needs an int property \"style\" 1..5"},
      {R"({"id": 10, "type": "blob", "point": true, "x": 0, "y": 0, "properties": [{"name": "style", "type": "int", "value": 7}]})",
       "blob style 7 is not one of 1..5"},
      {R"({"id": 11, "type": "blob", "x": 0, "y": 0, "width": 40, "height": 40, "properties": [{"name": "style", "type": "int", "value": 1}]})",
       "a blob is placed with a point object at its centre"},
      {R"({"id": 12, "type": "crate", "x": 0, "y": 0, "width": 64, "height": 32, "rotation": 45})",
       "a crate cannot be rotated"},
      {R"({"id": 13, "type": "crate", "x": 0, "y": 0, "polygon": [{"x": 0, "y": 0}, {"x": 9, "y": 0}, {"x": 0, "y": 9}]})",
       "a crate is placed with a point or a rectangle"},
      {R"({"id": 14, "x": 40000, "y": 0, "width": 10, "height": 10})",
       "corner 1 x 40000 is beyond"},
      {R"({"id": 15, "type": "crate", "point": true, "x": 0, "y": -32640.6})",
       "y -32640.6 is beyond"},
      {R"({"id": 16, "x": 0, "y": 0, "polygon": [{"x": 0, "y": 0}, {"x": 9, "y": 9}, {"x": 9, "y": 0}, {"x": 0, "y": 9}]})",
       "object 16 in layer \"L\": cannot be split into triangles: it overlaps itself"},
      {R"({"id": 17, "x": 0, "y": 0, "width": 10, "height": 10, "properties": [{"name": "color", "type": "color", "value": "#80ffffff"}]})",
       "property \"color\": colour \"#80ffffff\" is partly transparent"},
      {R"({"id": 18, "x": 0, "y": 0, "polygon": [{"x": 0, "y": 0}, {"x": 9, "y": 0}, {"x": 0, "y": 9}],
           "properties": [{"name": "color2", "type": "color", "value": "blue"}]})",
       "property \"color2\": colour \"blue\""},
      {R"({"id": 19, "x": 5, "y": 5, "width": 0, "height": 0})",
       "object 19 in layer \"L\": a rectangle of 0 x 0 pixels has no area: give it a width and a "
       "height"},
      {R"({"id": 20, "type": "crate", "x": 0, "y": 0, "width": 100, "height": 50})",
       "a crate is 64 x 32 pixels, and this rectangle is 100 x 50: draw it 64 x 32, or place the "
       "crate with a point"},
      {R"({"id": 21, "type": "Blob", "point": true, "x": 0, "y": 0})",
       "object 21 in layer \"L\": its class is \"Blob\"; a point places a blob or a crate"},
  };
  for (const auto& c : cases) {
    std::string problem = only_problem(c.object);
    EXPECT_NE(problem.find(c.problem), std::string::npos) << c.object << "\n gave: " << problem;
  }
}

TEST(TiledSource, LayersAndMapsThatCannotBeRead) {
  problem_list problems("iso.tmj");
  read_tiled_map(json::parse(R"({"type": "map", "orientation": "isometric", "layers": []})"),
                 problems);
  ASSERT_EQ(problems.lines().size(), 1u);
  EXPECT_EQ(problems.lines()[0],
            "iso.tmj: the map is isometric; only orthogonal maps have the level's axes");

  imported hidden =
      import_objects(R"({"id": 1, "visible": false, "x": 0, "y": 0, "width": 5, "height": 5})");
  EXPECT_TRUE(hidden.problems.empty());
  EXPECT_TRUE(hidden.level.triangles.empty());
  ASSERT_EQ(hidden.notes.size(), 1u);
  EXPECT_EQ(hidden.notes[0], "map.tmj: object 1 in layer \"L\": note: hidden, left out");
}

TEST(TiledSource, TheTwoFormatsAreToldApart) {
  EXPECT_TRUE(is_tiled_map(json::parse(R"({"type": "map", "layers": []})")));
  EXPECT_TRUE(is_tiled_map(json::parse(R"({"tiledversion": "1.10", "layers": []})")));
  EXPECT_FALSE(is_tiled_map(json::parse(R"({"terrain": [], "objects": []})")));
  EXPECT_FALSE(is_tiled_map(json::parse(R"([])")));
}

// A property or class that misses a name the reader takes by a letter or by
// case would be ignored without a word: it gets a note, on objects, layers
// and the map alike, and names the reader takes or ignores get none. A
// crate drawn by hand a fraction off its size is taken. Objects keep the
// names Tiled gives them, for check and the game to use.
TEST(TiledSource, NearMissesGetANoteAndObjectsKeepTheirTiledNames) {
  auto props = [](const std::string& names) {
    std::string list;
    for (std::size_t at = 0; at < names.size();) {
      std::size_t end = names.find(' ', at);
      if (end == std::string::npos) end = names.size();
      list += std::string(list.empty() ? "" : ", ") + R"({"name": ")" + names.substr(at, end - at) +
              R"(", "type": "string", "value": "#ff0000"})";
      at = end + 1;
    }
    return R"("properties": [)" + list + "]";
  };
  std::string text = R"({"type": "map", "orientation": "orthogonal", )" + props("colors speed") +
                     R"(, "layers": [{"type": "objectgroup", "name": "L", )" +
                     props("Color Style") + R"(, "objects": [
      {"id": 3, "x": 0, "y": 0, "width": 10, "height": 10, )" +
                     props("colour Color2 color1 colorful title stlye") + R"(},
      {"id": 4, "type": "Crate", "x": 0, "y": 0, "width": 64, "height": 32},
      {"id": 7, "name": "hero", "type": "blob", "point": true, "x": 1, "y": 2,
       "properties": [{"name": "style", "type": "int", "value": 1}]},
      {"id": 9, "type": "crate", "x": 5, "y": 6, "width": 63.6, "height": 32.4}]}]})";
  problem_list problems("map.tmj");
  level_data level = read_tiled_map(json::parse(text), problems);
  EXPECT_TRUE(problems.empty()) << problems.lines()[0];
  EXPECT_EQ(
      problems.notes(),
      (std::vector<std::string>{
          "map.tmj: note: property \"colors\" is not read: did you mean \"color\"?",
          "map.tmj: layer \"L\": note: property \"Color\" is not read: did you mean \"color\"?",
          "map.tmj: object 3 in layer \"L\": note: property \"colour\" is not read: did you "
          "mean \"color\"?",
          "map.tmj: object 3 in layer \"L\": note: property \"Color2\" is not read: did you "
          "mean \"color2\"?",
          "map.tmj: object 3 in layer \"L\": note: property \"stlye\" is not read: did you "
          "mean \"style\"?",
          "map.tmj: object 4 in layer \"L\": note: its class \"Crate\" is not \"crate\": read "
          "as terrain"}));
  EXPECT_EQ(level.triangles.size(), 4u) << "the rectangle and the one of class Crate";
  ASSERT_EQ(level.objects.size(), 2u);
  EXPECT_EQ(level.object_names, (std::vector<std::string>{"object 7 \"hero\" in layer \"L\"",
                                                          "object 9 in layer \"L\""}));

  imported styled = import_objects(R"({"id": 2, "type": "blob", "point": true, "x": 0, "y": 0,
      "properties": [{"name": "Style", "type": "int", "value": 2}]})");
  ASSERT_EQ(styled.problems.size(), 1u);
  EXPECT_NE(styled.problems[0].find("a blob needs an int property \"style\""), std::string::npos);
  ASSERT_EQ(styled.notes.size(), 1u);
  EXPECT_NE(styled.notes[0].find("\"Style\" is not read: did you mean \"style\"?"),
            std::string::npos);
}
