#include "level/index/geometry.h"

#include <cstdlib>

#include "level/terrain.h"

namespace terrain_index {
namespace {
constexpr std::uint32_t GRID_LAST = (1u << GRID_SHIFT) - 1;
}  // namespace

bool exact_everywhere(const corners& c) {
  for (int k = 0; k < 3; ++k)
    if (std::llabs(c.x[k]) > EXACT_LIMIT || std::llabs(c.y[k]) > EXACT_LIMIT) return false;
  return true;
}

std::uint32_t grid_coord(std::int64_t world) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(world - ORIGIN, 0, GRID_LAST));
}

grid_box grid_box_of(const world_box& b) {
  return {grid_coord(b.left), grid_coord(b.top), grid_coord(b.right), grid_coord(b.bottom)};
}

int size_level(const grid_box& b) {
  std::uint32_t extent = std::max(b.x1 - b.x0, b.y1 - b.y0);
  int level = 0;
  while (level < LEVELS - 1 && extent >= (1u << cell_shift(level))) ++level;
  return level;
}

int placement_level(const grid_box& b) {
  for (int level = 0;; ++level) {
    int s = cell_shift(level);
    std::uint32_t across = (b.x1 >> s) - (b.x0 >> s) + 1, down = (b.y1 >> s) - (b.y0 >> s) + 1;
    if (across * down <= MAX_PLACEMENT_CELLS || level == LEVELS - 1) return level;
  }
}

bool edge_cell(int level, std::uint32_t cx, std::uint32_t cy) {
  std::uint32_t last = cells_per_side(level) - 1;
  return cx == 0 || cy == 0 || cx == last || cy == last;
}

world_box cell_pixels(int level, std::uint32_t gx, std::uint32_t gy) {
  int s = cell_shift(level);
  int left = ORIGIN + static_cast<int>(gx >> s << s), top = ORIGIN + static_cast<int>(gy >> s << s);
  return {left, top, left + (1 << s) - 1, top + (1 << s) - 1};
}

// The four corner pixels suffice: the triangle is convex and the area test
// exact, so it holds every pixel between them too.
bool fills(const corners& c, int level, std::uint32_t cx, std::uint32_t cy) {
  if (edge_cell(level, cx, cy)) return false;
  int s = cell_shift(level);
  world_box cell = cell_pixels(level, cx << s, cy << s);
  for (int x : {cell.left, cell.right})
    for (int y : {cell.top, cell.bottom})
      if (!box_and_area_hold(c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2], x, y)) return false;
  return true;
}

bool box_meets_cell(const grid_box& b, int level, std::uint32_t cx, std::uint32_t cy) {
  int s = cell_shift(level);
  std::uint32_t x0 = cx << s, y0 = cy << s;
  std::uint32_t x1 = x0 + (1u << s) - 1, y1 = y0 + (1u << s) - 1;
  return b.x0 <= x1 && b.x1 >= x0 && b.y0 <= y1 && b.y1 >= y0;
}

// Separating axes: the square's two, and the normals of the triangle's
// edges, in 64-bit integers, so exact. A degenerate triangle's edges share
// one normal, which with the square's axes still separates a segment or a
// point from the square exactly.
bool touches_square(const corners& c, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1) {
  world_box box = world_box_of(c);
  if (box.right < x0 || box.left > x1 || box.bottom < y0 || box.top > y1) return false;
  for (int k = 0; k < 3; ++k) {
    int n = (k + 1) % 3, o = (k + 2) % 3;
    auto side = [&](std::int64_t px, std::int64_t py) {
      return edge_side(c.x[k], c.y[k], c.x[n], c.y[n], px, py);
    };
    // The third corner's side and the edge's own (0) against the square's.
    std::int64_t t0 = 0, t2 = side(c.x[o], c.y[o]);
    std::int64_t s[4] = {side(x0, y0), side(x1, y0), side(x0, y1), side(x1, y1)};
    if (std::max(t0, t2) < std::min({s[0], s[1], s[2], s[3]}) ||
        std::min(t0, t2) > std::max({s[0], s[1], s[2], s[3]}))
      return false;
  }
  return true;
}

}  // namespace terrain_index
