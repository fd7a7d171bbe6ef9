// The project's own level source: a JSON file that designers write by hand
// and that `leveltool dump` writes (levels/README.md describes it).
//
//   {"terrain": [{"name": "hill", "points": [[x, y], ...],
//                 "color": "#rrggbb"  or  "colors": ["#rrggbb", ...]}, ...],
//    "objects": [{"type": "crate", "x": 0, "y": 0},
//                {"type": "blob", "style": 1, "x": 0, "y": -100}, ...]}
//
// Terrain items become triangles in the order given, which is also the order
// they are drawn in.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "level/level_file.h"
#include "problems.h"

// The level a parsed project source describes; every value that a level file
// cannot hold is added to problems.
level_data read_project_source(const nlohmann::json& root, problem_list& problems);

// The project source of a level: each triangle as a three-point terrain item
// with its corners in file order, so that building it gives the same bytes.
std::string write_project_source(const level_data& level);
