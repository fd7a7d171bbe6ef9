#include "terrain_shape.h"

namespace {
level_vertex corner(const terrain_shape& shape, int i) {
  const point2& p = shape.points[i];
  const rgb_colour& c = shape.colours[i];
  return {p.x, p.y, c.r, c.g, c.b};
}

// Drops each point equal to the one before it, the closing point included
// (an editor or a designer may repeat the first point at the end).
terrain_shape without_repeats(const terrain_shape& shape) {
  terrain_shape ring{shape.where, {}, {}};
  for (std::size_t i = 0; i < shape.points.size(); ++i) {
    if (!ring.points.empty() && shape.points[i] == ring.points.back()) continue;
    ring.points.push_back(shape.points[i]);
    ring.colours.push_back(shape.colours[i]);
  }
  while (ring.points.size() > 1 && ring.points.back() == ring.points.front()) {
    ring.points.pop_back();
    ring.colours.pop_back();
  }
  return ring;
}

// A ring whose triangles cannot fit beside those already made is not split:
// it is counted (at its fewest), before the checks that cost more than
// linear time, and so is every ring after it, as the level cannot be stored
// anyway. A ring of a million points would otherwise be checked and split
// only to be refused.
bool fits_in_level(const terrain_shape& ring, level_data& level) {
  std::size_t fewest = fewest_triangles(ring.points);
  std::size_t before = level.triangles.size() + level.triangles_refused;
  if (level.triangles_refused == 0 && before + fewest <= static_cast<std::size_t>(LEVEL_TRIANGLES_MAX))
    return true;
  level.triangles_refused += fewest;
  return false;
}

void add_triangle(const terrain_shape& shape, int a, int b, int c, level_data& level) {
  level.triangles.push_back({{corner(shape, a), corner(shape, b), corner(shape, c)}});
}
}  // namespace

void add_shape(const terrain_shape& shape, level_data& level, problem_list& problems) {
  if (shape.points.size() == 3) {
    add_triangle(shape, 0, 1, 2, level);
    return;
  }
  terrain_shape ring = without_repeats(shape);
  if (ring.points.size() == 3) {
    add_triangle(ring, 0, 1, 2, level);
    return;
  }
  if (!fits_in_level(ring, level)) return;
  std::string why = ring_problem(ring.points);
  std::vector<index_triangle> pieces;
  if (why.empty()) triangulate(ring.points, pieces, why);  // sets why when it fails
  if (!why.empty()) {
    problems.add(shape.where, "cannot be split into triangles: " + why);
    return;
  }
  for (const index_triangle& t : pieces) add_triangle(ring, t.a, t.b, t.c, level);
}

void check_level_counts(const level_data& level, problem_list& problems) {
  std::size_t triangles = level.triangles.size() + level.triangles_refused;
  if (triangles > static_cast<std::size_t>(LEVEL_TRIANGLES_MAX))
    problems.add("", std::string("the level has ") + (level.triangles_refused ? "at least " : "") +
                         std::to_string(triangles) + " triangles; a level file holds at most " +
                         std::to_string(LEVEL_TRIANGLES_MAX));
  if (level.objects.size() > static_cast<std::size_t>(LEVEL_COORD_MAX))
    problems.add("", "the level has " + std::to_string(level.objects.size()) +
                         " objects; a level file holds at most " + std::to_string(LEVEL_COORD_MAX));
}
