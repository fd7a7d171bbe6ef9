// Maps saved by the Tiled map editor in its JSON format. Polygon and
// rectangle objects of object layers become terrain; point objects of class
// "blob" (with an int property "style" 1..5) or "crate" become object
// records, and so does a crate drawn as a rectangle (its top-left corner).
// Layer offsets add up through groups; rotation turns shapes about their
// object's x, y; hidden layers and objects are left out with a note.
// Colours come from "color" properties (type color, "#AARRGGBB" with alpha
// ff), looked up on the object, then its layer and the groups around it,
// then the map; "color1", "color2", ... on an object colour single corners.
// Without any, terrain is white.
#pragma once

#include <nlohmann/json.hpp>

#include "level/level_file.h"
#include "problems.h"

// True when the parsed file is a Tiled map rather than a project source.
bool is_tiled_map(const nlohmann::json& root);

level_data read_tiled_map(const nlohmann::json& root, problem_list& problems);
