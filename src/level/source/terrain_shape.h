// A piece of terrain as a source describes it: a ring of points with a colour
// at each. Both source formats turn their shapes into level triangles here.
#pragma once

#include <string>
#include <vector>

#include "json_values.h"
#include "level/level_file.h"
#include "polygon.h"
#include "problems.h"

struct terrain_shape {
  std::string where;  // names the shape in messages
  std::vector<point2> points;
  std::vector<rgb_colour> colours;  // one per point
};

// Appends the shape's triangles to the level. Exactly three points make one
// triangle with its corners in the order given (so a dumped level builds back
// byte for byte); more make a polygon, which must be simple and is split by
// the tessellator. A repeated closing point and repeated neighbours are
// dropped first. Problems are added, and nothing appended, when it cannot be
// stored. A polygon whose triangles cannot fit beside those before it is
// neither checked nor split, only counted in level.triangles_refused, and
// so is every polygon after it: check_level_counts then refuses the level.
void add_shape(const terrain_shape& shape, level_data& level, problem_list& problems);

// The most triangles a level file holds: its vertex count is a number triple.
constexpr int LEVEL_TRIANGLES_MAX = LEVEL_COORD_MAX / 3;

// Adds a problem when the level has more triangles or objects than a level
// file can count (at least, counting the polygons left unsplit: add_shape).
void check_level_counts(const level_data& level, problem_list& problems);
