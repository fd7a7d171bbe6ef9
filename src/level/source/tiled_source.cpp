#include "tiled_source.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "json_values.h"
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
  static const json empty = json::array();
  auto it = o.find(key);
  return it != o.end() && it->is_array() ? *it : empty;
}

bool flag(const json& obj, const char* key) {
  auto it = obj.find(key);
  return it != obj.end() && it->is_boolean() && it->get<bool>();
}

// Why an object cannot be terrain, or "" for a polygon or a rectangle.
std::string unusable_shape(const json& obj) {
  if (flag(obj, "point"))
    return "a point places a blob or a crate: give it the class \"blob\" or \"crate\"";
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
  double c = std::cos(turn), s = std::sin(turn);
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

// Blobs are placed by their centre with a point; crates by their top-left
// corner with a point or an unrotated rectangle.
bool placement_shape_ok(const json& obj, int type, std::string& why) {
  bool point = flag(obj, "point");
  bool rectangle = unusable_shape(obj).empty() && !obj.contains("polygon");
  if (type == TYPE_PLATFORM) {
    if (!point && !rectangle)
      why = "a crate is placed with a point or a rectangle";
    else if (rectangle && number_or(obj, "rotation", 0) != 0)
      why = "a crate cannot be rotated";
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
  if (x && y) level.objects.push_back({*type, *x, *y});
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
  std::string kind = object_class(obj);
  if (kind == "blob" || kind == "crate" || kind == "platform")
    read_placement(obj, kind, layer, where, level, problems);
  else
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
  layer_context top;
  top.scopes.push_back(&root);
  read_layers(list_or_empty(root, "layers"), top, level, problems);
  check_level_counts(level, problems);
  level.vertex_count = static_cast<int>(3 * level.triangles.size());
  level.object_count = static_cast<int>(level.objects.size());
  return level;
}
