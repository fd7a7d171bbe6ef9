// The geometry every layer of the terrain index shares: the coordinate
// ranges each layer covers, where a cell's records lie in the tables, a
// triangle's corners and boxes, and the one test of a point against a
// triangle that every answer comes from. Pure functions; nothing here
// remembers anything. docs/terrain-index.md draws the layers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "level/terrain.h"
#include "level/triangle_test.h"

namespace terrain_index {

// The grid of cells: world pixels -65,536..65,535 each way, twice the range
// a level file holds, in LEVELS levels from 64-pixel cells up to one cell
// for the whole grid. A coordinate beyond the grid counts as lying in the
// edge cell, so edge cells also stand for everything beyond them: the index
// stays exact for any corner addVertex accepts and any point asked.
constexpr int ORIGIN = -65536;
constexpr int GRID_SHIFT = 17;
constexpr int FINE_SHIFT = 6;  // 64-pixel cells at level 0
constexpr int LEVELS = GRID_SHIFT - FINE_SHIFT + 1;
constexpr int cell_shift(int level) { return FINE_SHIFT + level; }
constexpr std::uint32_t cells_per_side(int level) { return 1u << (GRID_SHIFT - cell_shift(level)); }

// The remembered range: the fine cells of world pixels -32,768..32,767 each
// way (every pixel a level file can name), 1,024 x 1,024 of them. Only here
// are cells remembered and their 8x8 blocks sorted. A point's memory
// coordinates are x and y plus MEMORY_HALF, which wrap far out of range for
// points beyond it.
constexpr int MEMORY_HALF = 32768;
constexpr int MEMORY_SIDE_SHIFT = 10;
constexpr std::size_t MEMORY_CELLS = std::size_t{1} << (2 * MEMORY_SIDE_SHIFT);
constexpr std::uint32_t MEMORY_LOW = static_cast<std::uint32_t>(-MEMORY_HALF - ORIGIN);  // grid x
inline bool in_memory(std::uint32_t qx, std::uint32_t qy) {
  return ((qx | qy) >> (FINE_SHIFT + MEMORY_SIDE_SHIFT)) == 0;
}

// Areas of 2,048 pixels (64 x 64 of them over the grid): the unit in which
// what is remembered is forgotten, and moved triangles are counted.
constexpr int AREA_SHIFT = 11;
constexpr int AREAS_SHIFT = GRID_SHIFT - AREA_SHIFT;
constexpr std::uint32_t AREAS = 1u << (2 * AREAS_SHIFT);
constexpr std::uint32_t FIRST_MEMORY_AREA = MEMORY_LOW >> AREA_SHIFT;
inline std::uint32_t area_of(std::uint32_t gx, std::uint32_t gy) {
  return ((gy >> AREA_SHIFT) << AREAS_SHIFT) | (gx >> AREA_SHIFT);
}

// Where a remembered cell's record lies in the per-cell tables: tile by
// tile, each tile the 32 x 32 cells of one area, row by row within it. A
// page of a table first touched costs a fresh page from the system; in
// tiles, a blob's cells and a walk out of terrain in any direction touch
// few pages, and an area is forgotten in one run.
constexpr int TILE_SHIFT = AREA_SHIFT - FINE_SHIFT;
constexpr std::size_t TILE_CELLS = std::size_t{1} << (2 * TILE_SHIFT);
inline std::size_t memory_slot(std::uint32_t qx, std::uint32_t qy) {
  constexpr std::uint32_t IN_TILE = (1u << TILE_SHIFT) - 1;
  constexpr int TILES_SHIFT = MEMORY_SIDE_SHIFT - TILE_SHIFT;
  std::uint32_t cx = qx >> FINE_SHIFT, cy = qy >> FINE_SHIFT;
  std::size_t tile = ((cy >> TILE_SHIFT) << TILES_SHIFT) | (cx >> TILE_SHIFT);
  return (tile << (2 * TILE_SHIFT)) | ((cy & IN_TILE) << TILE_SHIFT) | (cx & IN_TILE);
}
// The first slot of an area's tile (an area of the grid, within the range).
inline std::size_t first_slot_of_area(std::uint32_t area) {
  std::uint32_t ax = (area & ((1u << AREAS_SHIFT) - 1)) - FIRST_MEMORY_AREA;
  std::uint32_t ay = (area >> AREAS_SHIFT) - FIRST_MEMORY_AREA;
  return memory_slot(ax << AREA_SHIFT, ay << AREA_SHIFT);
}

// 8x8-pixel blocks, 64 to a cell, and 64 pixels to a block: bit numbers
// from a pixel's place in its cell (0..63 each way).
constexpr int BLOCK_SHIFT = 3;
inline std::uint64_t block_bit(std::uint32_t in_cell_x, std::uint32_t in_cell_y) {
  return std::uint64_t{1} << (((in_cell_y >> BLOCK_SHIFT) << BLOCK_SHIFT) |
                              (in_cell_x >> BLOCK_SHIFT));
}
inline std::uint64_t pixel_bit(std::uint32_t in_cell_x, std::uint32_t in_cell_y) {
  constexpr std::uint32_t IN_BLOCK = (1u << BLOCK_SHIFT) - 1;
  return std::uint64_t{1} << (((in_cell_y & IN_BLOCK) << BLOCK_SHIFT) | (in_cell_x & IN_BLOCK));
}

// Corners within this many pixels of the origin keep every product of the
// geometry below far inside 64 bits: there the area test answers exactly
// what geometry says, so a triangle can be said to fill or miss a square of
// pixels without testing each one.
constexpr std::int64_t EXACT_LIMIT = std::int64_t{1} << 20;

using triangle_test::box_and_area_hold;
using triangle_test::edge_side;

// The list walk's test of one triangle: box_and_area_hold on its corners,
// and for holds, its solid flag.
inline bool shape_holds(const primitive& p, int px, int py) {
  return box_and_area_hold(p.x1, p.y1, p.x2, p.y2, p.x3, p.y3, px, py);
}
inline bool holds(const primitive& p, int px, int py) { return p.solid && shape_holds(p, px, py); }

// A triangle's corners as filed: sorted by x, then y, whatever order the
// triangle gives them in, which changes no answer of the point test. So
// triangles of one shape have equal corners.
struct corners {
  int x[3], y[3];
};
inline corners corners_of(const primitive& p) {
  std::pair<int, int> c[3] = {{p.x1, p.y1}, {p.x2, p.y2}, {p.x3, p.y3}};
  if (c[1] < c[0]) std::swap(c[0], c[1]);
  if (c[2] < c[1]) std::swap(c[1], c[2]);
  if (c[1] < c[0]) std::swap(c[0], c[1]);
  return {{c[0].first, c[1].first, c[2].first}, {c[0].second, c[1].second, c[2].second}};
}
inline bool operator<(const corners& a, const corners& b) {
  for (int k = 0; k < 3; ++k) {
    if (a.x[k] != b.x[k]) return a.x[k] < b.x[k];
    if (a.y[k] != b.y[k]) return a.y[k] < b.y[k];
  }
  return false;
}
inline bool operator==(const corners& a, const corners& b) {
  return a.x[0] == b.x[0] && a.y[0] == b.y[0] && a.x[1] == b.x[1] && a.y[1] == b.y[1] &&
         a.x[2] == b.x[2] && a.y[2] == b.y[2];
}
bool exact_everywhere(const corners& c);

// A box of world pixels, inclusive.
struct world_box {
  int left, top, right, bottom;
  bool holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  void widen(const world_box& b) {
    left = std::min(left, b.left);
    top = std::min(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
  }
};
// Sorted by x first: x[0] and x[2] are the least and the greatest.
inline world_box world_box_of(const corners& c) {
  return {c.x[0], std::min({c.y[0], c.y[1], c.y[2]}), c.x[2], std::max({c.y[0], c.y[1], c.y[2]})};
}

// Grid coordinate 0..131,071 of a world coordinate, clamped to the grid.
std::uint32_t grid_coord(std::int64_t world);

// A box in grid coordinates, clamped to the grid.
struct grid_box {
  std::uint32_t x0, y0, x1, y1;
};
grid_box grid_box_of(const world_box& b);

// Calls visit(cx, cy) for every cell of the box at the level.
template <typename Visit>
void for_cells(const grid_box& b, int level, Visit visit) {
  int s = cell_shift(level);
  for (std::uint32_t cy = b.y0 >> s; cy <= b.y1 >> s; ++cy)
    for (std::uint32_t cx = b.x0 >> s; cx <= b.x1 >> s; ++cx) visit(cx, cy);
}

// Finest level whose cells are wider than the box: it spans at most two
// cells each way there.
int size_level(const grid_box& b);

// Finest level where the box spans at most MAX_PLACEMENT_CELLS cells: a long
// thin triangle is filed in a row of fine cells rather than in a few
// coarse, crowded ones.
constexpr std::size_t MAX_PLACEMENT_CELLS = 16;
int placement_level(const grid_box& b);

// Whether the cell is on the grid's edge, where it also stands for the
// world beyond.
bool edge_cell(int level, std::uint32_t cx, std::uint32_t cy);

// The pixels of the cell holding the grid point at the level.
world_box cell_pixels(int level, std::uint32_t gx, std::uint32_t gy);

// Every pixel of the cell lies in the triangle; never true of an edge cell.
bool fills(const corners& c, int level, std::uint32_t cx, std::uint32_t cy);

bool box_meets_cell(const grid_box& b, int level, std::uint32_t cx, std::uint32_t cy);

// Whether the triangle shares a point with the closed square of pixels
// x0..x1, y0..y1. "No" is exact; "yes" may hold for a triangle that shares
// only points between pixels with it.
bool touches_square(const corners& c, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1);

}  // namespace terrain_index
