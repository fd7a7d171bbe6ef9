#include "project_source.h"

#include <optional>
#include <sstream>
#include <vector>

#include "json_values.h"
#include "object_kind.h"
#include "terrain_shape.h"

using nlohmann::json;

namespace {
std::string item_name(const char* kind, std::size_t index, const json& item) {
  std::string where = std::string(kind) + " " + std::to_string(index + 1);
  auto name = item.find("name");
  if (name != item.end() && name->is_string()) where += " \"" + name->get<std::string>() + "\"";
  return where;
}

// A misspelt key ("colour") would otherwise be ignored without a word.
void check_keys(const json& item, const std::vector<std::string>& known, const std::string& where,
                problem_list& problems) {
  for (auto it = item.begin(); it != item.end(); ++it) {
    bool ok = false;
    for (const std::string& k : known) ok = ok || it.key() == k;
    if (ok) continue;
    std::string list;
    for (const std::string& k : known) list += (list.empty() ? "" : ", ") + k;
    problems.add(where, "unknown key \"" + it.key() + "\" (known: " + list + ")");
  }
}

std::optional<std::vector<point2>> read_points(const json& item, const std::string& where,
                                               problem_list& problems) {
  auto points = item.find("points");
  if (points == item.end() || !points->is_array() || points->size() < 3) {
    problems.add(where, "needs \"points\": a list of at least three [x, y] pairs");
    return std::nullopt;
  }
  std::vector<point2> out;
  bool ok = true;
  for (std::size_t i = 0; i < points->size(); ++i) {
    const json& p = (*points)[i];
    std::string what = "point " + std::to_string(i + 1);
    if (!p.is_array() || p.size() != 2) {
      problems.add(where, what + " is " + describe(p) + ", not an [x, y] pair");
      ok = false;
      continue;
    }
    auto x = read_coordinate(p[0], fraction_rule::refuse, what + " x", where, problems);
    auto y = read_coordinate(p[1], fraction_rule::refuse, what + " y", where, problems);
    if (x && y) out.push_back({*x, *y});
    ok = ok && x && y;
  }
  if (!ok) return std::nullopt;
  return out;
}

std::optional<rgb_colour> read_colour(const json& value, const std::string& what,
                                      const std::string& where, problem_list& problems) {
  std::string why;
  auto colour = parse_colour(value, why);
  if (!colour) problems.add(where, what + ": " + why);
  return colour;
}

std::optional<std::vector<rgb_colour>> read_colours(const json& item, std::size_t count,
                                                    const std::string& where,
                                                    problem_list& problems) {
  bool one = item.contains("color"), each = item.contains("colors");
  if (one == each) {
    problems.add(where,
                 "needs either \"color\" (one for every point) or \"colors\" (one per point)");
    return std::nullopt;
  }
  if (one) {
    auto c = read_colour(item["color"], "color", where, problems);
    if (!c) return std::nullopt;
    return std::vector<rgb_colour>(count, *c);
  }
  const json& list = item["colors"];
  if (!list.is_array() || list.size() != count) {
    problems.add(where, "\"colors\" must list one colour for each of its " + std::to_string(count) +
                            " points");
    return std::nullopt;
  }
  std::vector<rgb_colour> out;
  for (std::size_t i = 0; i < count; ++i)
    if (auto c = read_colour(list[i], "colour " + std::to_string(i + 1), where, problems))
      out.push_back(*c);
  if (out.size() != count) return std::nullopt;
  return out;
}

void read_terrain_item(const json& item, std::size_t index, level_data& level,
                       problem_list& problems) {
  std::string where = item_name("terrain item", index, item);
  if (!item.is_object()) {
    problems.add(where, "is " + describe(item) + ", not an object");
    return;
  }
  check_keys(item, {"name", "comment", "points", "color", "colors"}, where, problems);
  auto points = read_points(item, where, problems);
  if (!points) return;
  auto colours = read_colours(item, points->size(), where, problems);
  if (!colours) return;
  add_shape({where, *points, *colours}, level, problems);
}

std::optional<int> read_type(const json& item, const std::string& where, problem_list& problems) {
  std::optional<long long> style;
  if (item.contains("style")) {
    style = whole_number(item["style"]);
    if (!style) {
      problems.add(where, "style " + describe(item["style"]) + " is not a whole number");
      return std::nullopt;
    }
  }
  const json& type = item.contains("type") ? item["type"] : json();
  std::string why;
  std::optional<int> code;
  if (type.is_string()) {
    code = type_of_kind(type.get<std::string>(), style, why);
  } else if (auto n = whole_number(type); n && !style) {
    if (*n >= -128 && *n <= 127 && is_known_type(static_cast<int>(*n)))
      code = static_cast<int>(*n);
    else
      why = "type code " + describe(type) + " is not one the game makes (0 crate, 1..5 blob)";
  } else {
    why = n ? "give a style only with \"type\": \"blob\""
            : "needs \"type\": \"crate\", \"blob\" (with a style 1..5) or a type code 0..5";
  }
  if (!code) problems.add(where, why);
  return code;
}

void read_object(const json& item, std::size_t index, level_data& level, problem_list& problems) {
  std::string where = item_name("object", index, item);
  if (!item.is_object()) {
    problems.add(where, "is " + describe(item) + ", not an object");
    return;
  }
  check_keys(item, {"name", "comment", "type", "style", "x", "y"}, where, problems);
  auto type = read_type(item, where, problems);
  std::optional<int> x, y;
  for (const char* axis : {"x", "y"}) {
    auto& out = axis[0] == 'x' ? x : y;
    if (!item.contains(axis))
      problems.add(where, std::string("needs \"") + axis + "\"");
    else
      out = read_coordinate(item[axis], fraction_rule::refuse, axis, where, problems);
  }
  if (!type || !x || !y) return;
  level.objects.push_back({*type, *x, *y});
  level.object_names.push_back(where);
}

const json& list_of(const json& root, const char* key, problem_list& problems) {
  // Never destroyed: a build the game abandons as it ends may still read it.
  static const json& empty = *new json(json::array());
  auto it = root.find(key);
  if (it == root.end()) return empty;
  if (!it->is_array()) {
    problems.add("", std::string("\"") + key + "\" must be a list");
    return empty;
  }
  return *it;
}
}  // namespace

level_data read_project_source(const json& root, problem_list& problems) {
  level_data level;
  if (!root.is_object()) {
    problems.add("", "the file holds " + describe(root) +
                         ", not a level object {\"terrain\": ..., \"objects\": ...}");
    return level;
  }
  check_keys(root, {"comment", "terrain", "objects"}, "", problems);
  const json& terrain = list_of(root, "terrain", problems);
  for (std::size_t i = 0; i < terrain.size(); ++i)
    read_terrain_item(terrain[i], i, level, problems);
  const json& objects = list_of(root, "objects", problems);
  for (std::size_t i = 0; i < objects.size(); ++i) read_object(objects[i], i, level, problems);
  check_level_counts(level, problems);
  level.vertex_count = static_cast<int>(3 * level.triangles.size());
  level.object_count = static_cast<int>(level.objects.size());
  return level;
}

namespace {
rgb_colour colour_of(const level_vertex& v) { return {v.r & 255, v.g & 255, v.b & 255}; }

void write_triangle(std::ostream& out, const level_triangle& t) {
  out << "    {\"points\": [";
  for (int k = 0; k < 3; ++k) out << (k ? ", " : "") << "[" << t.v[k].x << ", " << t.v[k].y << "]";
  out << "], ";
  rgb_colour c0 = colour_of(t.v[0]), c1 = colour_of(t.v[1]), c2 = colour_of(t.v[2]);
  if (c0 == c1 && c1 == c2)
    out << "\"color\": \"" << colour_text(c0) << "\"}";
  else
    out << "\"colors\": [\"" << colour_text(c0) << "\", \"" << colour_text(c1) << "\", \""
        << colour_text(c2) << "\"]}";
}

void write_object(std::ostream& out, const level_object& o) {
  out << "    {\"type\": ";
  if (o.type == TYPE_PLATFORM)
    out << "\"crate\"";
  else if (is_known_type(o.type))
    out << "\"blob\", \"style\": " << o.type;
  else
    out << o.type;
  out << ", \"x\": " << o.x << ", \"y\": " << o.y << "}";
}

template <typename T, typename Writer>
void write_list(std::ostream& out, const char* key, const std::vector<T>& items,
                Writer write_item) {
  out << "  \"" << key << "\": [";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out << (i ? ",\n" : "\n");
    write_item(out, items[i]);
  }
  out << (items.empty() ? "]" : "\n  ]");
}
}  // namespace

std::string write_project_source(const level_data& level) {
  std::ostringstream out;
  out << "{\n";
  write_list(out, "terrain", level.triangles, write_triangle);
  out << ",\n";
  write_list(out, "objects", level.objects, write_object);
  out << "\n}\n";
  return out.str();
}
