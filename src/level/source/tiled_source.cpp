#include "tiled_source.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "json_values.h"
#include "level/platform.h"
#include "maths/portable_maths.h"
#include "object_kind.h"
#include "terrain_shape.h"

using nlohmann::json;

namespace {
// Where a layer sits: its name path for messages, the offset its objects
// take, and the property lists to search for a default colour, innermost
// first (the layer, the groups around it, the map).
struct layer_context {
  std::string path;
  double offset_x = 0, offset_y = 0;  // pixels
  std::vector<const json*> scopes;
};

double number_or(const json& o, const char* key, double fallback) {
  auto it = o.find(key);
  return it != o.end() && it->is_number() ? it->get<double>() : fallback;
}

std::string string_or_empty(const json& o, const char* key) {
  auto it = o.find(key);
  return it != o.end() && it->is_string() ? it->get<std::string>() : "";
}

const json* property(const json& owner, const std::string& name) {
  auto list = owner.find("properties");
  if (list == owner.end() || !list->is_array()) return nullptr;
  for (const json& p : *list)
    if (p.is_object() && string_or_empty(p, "name") == name && p.contains("value"))
      return &p["value"];
  return nullptr;
}

// Tiled writes an unset colour property as "".
bool is_set(const json* value) {
  return value && !(value->is_string() && value->get<std::string>().empty());
}

std::string object_where(const json& obj, const layer_context& layer) {
  std::string where = "object";
  if (obj.contains("id")) where += " " + describe(obj["id"]);
  std::string name = string_or_empty(obj, "name");
  if (!name.empty()) where += " \"" + name + "\"";
  return where + " in layer \"" + layer.path + "\"";
}

// Tiled 1.9 called the object's type its class; later versions went back.
std::string object_class(const json& obj) {
  std::string type = string_or_empty(obj, "type");
  return type.empty() ? string_or_empty(obj, "class") : type;
}

// The list under `key`, or an empty one when there is none; never a copy,
// since copying a value copies everything nested in it.
const json& list_or_empty(const json& o, const char* key) {
  // Never destroyed: a build the game abandons as it ends may still read it.
  static const json& empty = *new json(json::array());
  auto it = o.find(key);
  return it != o.end() && it->is_array() ? *it : empty;
}

bool flag(const json& obj, const char* key) {
  auto it = obj.find(key);
  return it != obj.end() && it->is_boolean() && it->get<bool>();
}

std::string lower_case(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Whether one edit (a letter added, dropped, changed, or two neighbours
// swapped) turns `a` into `b`.
bool one_edit_apart(const std::string& a, const std::string& b) {
  if (a == b) return false;
  if (a.size() == b.size()) {
    std::size_t first = 0;
    while (a[first] == b[first]) ++first;
    if (a.compare(first + 1, std::string::npos, b, first + 1, std::string::npos) == 0) return true;
    return first + 1 < a.size() && a[first] == b[first + 1] && a[first + 1] == b[first] &&
           a.compare(first + 2, std::string::npos, b, first + 2, std::string::npos) == 0;
  }
  const std::string& longer = a.size() > b.size() ? a : b;
  const std::string& shorter = a.size() > b.size() ? b : a;
  if (longer.size() != shorter.size() + 1) return false;
  std::size_t first = 0;
  while (first < shorter.size() && longer[first] == shorter[first]) ++first;
  return longer.compare(first + 1, std::string::npos, shorter, first, std::string::npos) == 0;
}

// The name the reader takes that `name` was most likely meant to be
// ("colour", "Color", "colors" and "stlye" all miss by little), or "".
std::string meant_name(const std::string& name, const std::vector<std::string>& read) {
  std::string plain = lower_case(name);
  if (std::size_t british = plain.find("colour"); british != std::string::npos)
    plain.erase(british + 4, 1);
  for (const std::string& wanted : read)
    if (plain == wanted || plain == wanted + "s" || one_edit_apart(plain, wanted)) return wanted;
  return "";
}

// A property whose name misses one the reader takes is otherwise ignored
// without a word: the terrain stays white, the blob without its style.
void note_near_misses(const json& owner, bool is_object, const std::string& where,
                      problem_list& problems) {
  // Never destroyed: a build the game abandons as it ends may still read them.
  static const auto& object_names = *new std::vector<std::string>{"color", "style"};
  static const auto& layer_names = *new std::vector<std::string>{"color"};
  for (const json& p : list_or_empty(owner, "properties")) {
    std::string name = p.is_object() ? string_or_empty(p, "name") : "";
    bool corner = name.size() > 5 && name.compare(0, 5, "color") == 0 &&
                  name.find_first_not_of("0123456789", 5) == std::string::npos;
    if (name.empty() || name == "color" || name == "style" || (is_object && corner)) continue;
    std::string stem = name;
    if (is_object) stem.erase(stem.find_last_not_of("0123456789") + 1);  // "Color2": "Color"
    std::string wanted = meant_name(stem, is_object ? object_names : layer_names);
    if (wanted.empty()) continue;
    if (wanted == "color") wanted += name.substr(stem.size());
    problems.note(where, "property \"" + name + "\" is not read: did you mean \"" + wanted + "\"?");
  }
}

// Why an object cannot be terrain, or "" for a polygon or a rectangle.
std::string unusable_shape(const json& obj) {
  if (flag(obj, "point")) {
    std::string found = object_class(obj);
    return (found.empty() ? "" : "its class is \"" + found + "\"; ") +
           "a point places a blob or a crate: give it the class \"blob\" or \"crate\"";
  }
  if (flag(obj, "ellipse")) return "an ellipse cannot be terrain: draw a polygon";
  if (obj.contains("polyline")) return "a polyline is open: terrain needs a closed polygon";
  if (obj.contains("text")) return "a text object cannot be terrain";
  if (obj.contains("gid")) return "a tile object cannot be terrain: the level has no tiles";
  return "";
}

// The shape's corners relative to the object's x, y before rotation.
std::optional<std::vector<std::pair<double, double>>> local_corners(const json& obj,
                                                                    const std::string& where,
                                                                    problem_list& problems) {
  std::vector<std::pair<double, double>> corners;
  if (obj.contains("polygon")) {
    for (const json& p : list_or_empty(obj, "polygon")) {
      if (!p.is_object() || !p.contains("x") || !p.contains("y") || !p["x"].is_number() ||
          !p["y"].is_number()) {
        problems.add(where, "polygon point " + describe(p) + " is not {\"x\": .., \"y\": ..}");
        return std::nullopt;
      }
      corners.emplace_back(p["x"].get<double>(), p["y"].get<double>());
    }
    return corners;
  }
  double w = number_or(obj, "width", 0), h = number_or(obj, "height", 0);
  if (w == 0 || h == 0) {
    problems.add(where, "a rectangle of " + describe(obj.value("width", json(0))) + " x " +
                            describe(obj.value("height", json(0))) +
                            " pixels has no area: give it a width and a height");
    return std::nullopt;
  }
  return std::vector<std::pair<double, double>>{{0, 0}, {w, 0}, {w, h}, {0, h}};
}

// Rotation is clockwise on screen, about the object's own x, y; with y
// growing downward that is the usual rotation matrix.
std::optional<std::vector<point2>> world_corners(const json& obj, const layer_context& layer,
                                                 const std::string& where, problem_list& problems) {
  auto local = local_corners(obj, where, problems);
  if (!local) return std::nullopt;
  constexpr double degrees_to_radians = 3.14159265358979323846 / 180;
  double turn = number_or(obj, "rotation", 0) * degrees_to_radians;
  double c = portable_cos(turn), s = portable_sin(turn);
  double ox = layer.offset_x + number_or(obj, "x", 0), oy = layer.offset_y + number_or(obj, "y", 0);
  std::vector<point2> out;
  for (std::size_t i = 0; i < local->size(); ++i) {
    auto [lx, ly] = (*local)[i];
    std::string what = "corner " + std::to_string(i + 1);
    auto x = rounded_coordinate(ox + lx * c - ly * s, what + " x", where, problems);
    auto y = rounded_coordinate(oy + lx * s + ly * c, what + " y", where, problems);
    if (!x || !y) return std::nullopt;
    out.push_back({*x, *y});
  }
  return out;
}

std::optional<rgb_colour> colour_value(const json& value, const std::string& what,
                                       const std::string& where, problem_list& problems) {
  std::string why;
  auto colour = parse_colour(value, why);
  if (!colour) problems.add(where, "property \"" + what + "\": " + why);
  return colour;
}

// The object's "color", else the nearest layer, group or map "color".
std::optional<rgb_colour> shape_colour(const json& obj, const layer_context& layer,
                                       const std::string& where, problem_list& problems) {
  if (const json* own = property(obj, "color"); is_set(own))
    return colour_value(*own, "color", where, problems);
  for (const json* scope : layer.scopes)
    if (const json* v = property(*scope, "color"); is_set(v))
      return colour_value(*v, "color", where, problems);
  return rgb_colour{255, 255, 255};
}

std::optional<std::vector<rgb_colour>> corner_colours(const json& obj, std::size_t count,
                                                      const layer_context& layer,
                                                      const std::string& where,
                                                      problem_list& problems) {
  auto base = shape_colour(obj, layer, where, problems);
  if (!base) return std::nullopt;
  std::vector<rgb_colour> colours(count, *base);
  bool ok = true;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name = "color" + std::to_string(i + 1);
    if (const json* v = property(obj, name); is_set(v)) {
      auto c = colour_value(*v, name, where, problems);
      if (c) colours[i] = *c;
      ok = ok && c;
    }
  }
  if (!ok) return std::nullopt;
  return colours;
}

void read_terrain(const json& obj, const layer_context& layer, const std::string& where,
                  level_data& level, problem_list& problems) {
  if (std::string why = unusable_shape(obj); !why.empty()) {
    problems.add(where, why);
    return;
  }
  auto corners = world_corners(obj, layer, where, problems);
  if (!corners) return;
  auto colours = corner_colours(obj, corners->size(), layer, where, problems);
  if (!colours) return;
  if (corners->size() < 3) {
    problems.add(where, "a polygon needs at least three points");
    return;
  }
  add_shape({where, *corners, *colours}, level, problems);
}

std::optional<long long> style_property(const json& obj) {
  const json* style = property(obj, "style");
  return style ? whole_number(*style) : std::nullopt;
}

// A rectangle drawn by hand may miss the crate's size by a fraction.
bool crate_sized(const json& obj) {
  return std::lround(number_or(obj, "width", 0)) == PLATFORM_WIDTH &&
         std::lround(number_or(obj, "height", 0)) == PLATFORM_HEIGHT;
}

// Blobs are placed by their centre with a point; crates by their top-left
// corner with a point or an unrotated rectangle of the crate's size.
bool placement_shape_ok(const json& obj, int type, std::string& why) {
  bool point = flag(obj, "point");
  bool rectangle = unusable_shape(obj).empty() && !obj.contains("polygon");
  if (type == TYPE_PLATFORM) {
    if (!point && !rectangle)
      why = "a crate is placed with a point or a rectangle";
    else if (rectangle && number_or(obj, "rotation", 0) != 0)
      why = "a crate cannot be rotated";
    else if (rectangle && !crate_sized(obj))
      why = "a crate is 64 x 32 pixels, and this rectangle is " +
            describe(obj.value("width", json(0))) + " x " + describe(obj.value("height", json(0))) +
            ": draw it 64 x 32, or place the crate with a point at its top-left corner";
  } else if (!point) {
    why = "a blob is placed with a point object at its centre";
  }
  return why.empty();
}

void read_placement(const json& obj, const std::string& kind, const layer_context& layer,
                    const std::string& where, level_data& level, problem_list& problems) {
  std::optional<long long> style;
  if (kind == "blob") {
    style = style_property(obj);
    if (!style) {
      problems.add(where, "a blob needs an int property \"style\" 1..5");
      return;
    }
  }
  std::string why;
  auto type = type_of_kind(kind, style, why);
  if (type) placement_shape_ok(obj, *type, why);
  if (!why.empty()) {
    problems.add(where, why);
    return;
  }
  auto x = rounded_coordinate(layer.offset_x + number_or(obj, "x", 0), "x", where, problems);
  auto y = rounded_coordinate(layer.offset_y + number_or(obj, "y", 0), "y", where, problems);
  if (!x || !y) return;
  level.objects.push_back({*type, *x, *y});
  level.object_names.push_back(where);
}

void read_object(const json& obj, const layer_context& layer, level_data& level,
                 problem_list& problems) {
  std::string where = object_where(obj, layer);
  if (obj.contains("template")) {
    problems.add(where, "is an instance of the template " + describe(obj["template"]) +
                            ", which is not read: detach it from its template in Tiled");
    return;
  }
  if (obj.contains("visible") && !flag(obj, "visible")) {
    problems.note(where, "hidden, left out");
    return;
  }
  note_near_misses(obj, true, where, problems);
  std::string kind = object_class(obj);
  if (kind == "blob" || kind == "crate" || kind == "platform") {
    read_placement(obj, kind, layer, where, level, problems);
    return;
  }
  std::string meant = meant_name(kind, {"blob", "crate", "platform"});
  if (!meant.empty() && !flag(obj, "point"))
    problems.note(where, "its class \"" + kind + "\" is not \"" + meant + "\": read as terrain");
  read_terrain(obj, layer, where, level, problems);
}

bool has_tiles(const json& layer) {
  auto data = layer.find("data");
  if (data == layer.end() || !data->is_array())
    return layer.contains("chunks") || data != layer.end();
  for (const json& gid : *data)
    if (!gid.is_number() || gid.get<double>() != 0) return true;
  return false;
}

void read_layers(const json& layers, const layer_context& outer, level_data& level,
                 problem_list& problems);

void read_layer(const json& layer, const layer_context& outer, level_data& level,
                problem_list& problems) {
  layer_context inner = outer;
  std::string name = string_or_empty(layer, "name");
  inner.path = outer.path.empty() ? name : outer.path + "/" + name;
  inner.offset_x += number_or(layer, "offsetx", 0);
  inner.offset_y += number_or(layer, "offsety", 0);
  inner.scopes.insert(inner.scopes.begin(), &layer);
  std::string where = "layer \"" + inner.path + "\"";
  std::string type = string_or_empty(layer, "type");
  note_near_misses(layer, false, where, problems);
  if (layer.contains("visible") && !flag(layer, "visible")) {
    problems.note(where, "hidden, left out");
  } else if (type == "objectgroup") {
    for (const json& obj : list_or_empty(layer, "objects"))
      if (obj.is_object()) read_object(obj, inner, level, problems);
  } else if (type == "group") {
    read_layers(list_or_empty(layer, "layers"), inner, level, problems);
  } else if (type == "tilelayer") {
    if (has_tiles(layer)) problems.note(where, "tiles left out: a level is made of objects only");
  } else {
    problems.note(where, "a layer of type \"" + type + "\" is left out");
  }
}

void read_layers(const json& layers, const layer_context& outer, level_data& level,
                 problem_list& problems) {
  for (const json& layer : layers)
    if (layer.is_object()) read_layer(layer, outer, level, problems);
}
}  // namespace

bool is_tiled_map(const json& root) {
  return root.is_object() &&
         (string_or_empty(root, "type") == "map" || root.contains("tiledversion"));
}

level_data read_tiled_map(const json& root, problem_list& problems) {
  level_data level;
  std::string orientation = string_or_empty(root, "orientation");
  if (!orientation.empty() && orientation != "orthogonal") {
    problems.add("", "the map is " + orientation + "; only orthogonal maps have the level's axes");
    return level;
  }
  note_near_misses(root, false, "", problems);
  layer_context top;
  top.scopes.push_back(&root);
  read_layers(list_or_empty(root, "layers"), top, level, problems);
  check_level_counts(level, problems);
  level.vertex_count = static_cast<int>(3 * level.triangles.size());
  level.object_count = static_cast<int>(level.objects.size());
  return level;
}
