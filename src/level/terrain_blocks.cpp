#include "level/terrain_blocks.h"

#include <algorithm>

#include "level/terrain.h"
#include "level/terrain_cells.h"

namespace terrain_blocks {
namespace {
constexpr int BLOCK = 1 << BLOCK_SHIFT;
constexpr int CELL = BLOCK * BLOCKS_PER_SIDE;

// Blocks of the cell that the pixel span low..high (relative to the cell)
// meets, as a row of 8 bits; 0 when it misses the cell.
std::uint32_t span_bits(std::int64_t low, std::int64_t high) {
  if (high < 0 || low > CELL - 1) return 0;
  std::int64_t first = std::max<std::int64_t>(low, 0) >> BLOCK_SHIFT;
  std::int64_t last = std::min<std::int64_t>(high, CELL - 1) >> BLOCK_SHIFT;
  return ((2u << last) - 1) & ~((1u << first) - 1);
}

// Blocks in the triangle's bounding box.
std::uint64_t box_blocks(const primitive& p, int x0, int y0) {
  std::uint32_t across = span_bits(std::int64_t{std::min({p.x1, p.x2, p.x3})} - x0,
                                   std::int64_t{std::max({p.x1, p.x2, p.x3})} - x0);
  std::uint32_t down = span_bits(std::int64_t{std::min({p.y1, p.y2, p.y3})} - y0,
                                 std::int64_t{std::max({p.y1, p.y2, p.y3})} - y0);
  std::uint64_t blocks = 0;
  for (int row = 0; row < BLOCKS_PER_SIDE; ++row)
    if (down >> row & 1) blocks |= std::uint64_t{across} << (row * BLOCKS_PER_SIDE);
  return blocks;
}

// One edge's side at the corner pixels of the blocks: for the top and the
// bottom row of pixels of each row of blocks, bit i set where the left
// corner pixel of block i lies on the triangle's side of the edge or on
// it, bit 8 + i the same for its right corner pixel.
struct edge_sides {
  std::uint32_t top[BLOCKS_PER_SIDE], bottom[BLOCKS_PER_SIDE];
};

std::uint32_t row_sides(std::int64_t at_left, std::int64_t step_x) {
  std::uint32_t bits = 0;
  for (int i = 0; i < BLOCKS_PER_SIDE; ++i, at_left += step_x * BLOCK) {
    bits |= static_cast<std::uint32_t>(at_left >= 0) << i;
    bits |= static_cast<std::uint32_t>(at_left + step_x * (BLOCK - 1) >= 0)
            << (BLOCKS_PER_SIDE + i);
  }
  return bits;
}

edge_sides sides_of_edge(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                         std::int64_t orientation, int x0, int y0) {
  // Twice the signed area of (a, b, pixel), times the triangle's
  // orientation: not negative on the triangle's side. Linear in the pixel,
  // so each is the one before plus a constant step.
  std::int64_t step_x = -(by - ay) * orientation;
  std::int64_t step_y = (bx - ax) * orientation;
  std::int64_t at = ((bx - ax) * (y0 - ay) - (by - ay) * (x0 - ax)) * orientation;
  edge_sides sides{};
  for (int j = 0; j < BLOCKS_PER_SIDE; ++j, at += step_y * BLOCK) {
    sides.top[j] = row_sides(at, step_x);
    sides.bottom[j] = row_sides(at + step_y * (BLOCK - 1), step_x);
  }
  return sides;
}

// Blocks all four of whose corner pixels are on the triangle's side
// (`inside`) or all strictly beyond the edge (`beyond`).
void blocks_by_edge(const edge_sides& s, std::uint64_t& inside, std::uint64_t& beyond) {
  constexpr std::uint32_t ROW = (1u << BLOCKS_PER_SIDE) - 1;
  inside = beyond = 0;
  for (int j = 0; j < BLOCKS_PER_SIDE; ++j) {
    std::uint32_t top = s.top[j], bottom = s.bottom[j];
    std::uint32_t all = top & (top >> BLOCKS_PER_SIDE) & bottom & (bottom >> BLOCKS_PER_SIDE) & ROW;
    std::uint32_t none =
        ~(top | (top >> BLOCKS_PER_SIDE) | bottom | (bottom >> BLOCKS_PER_SIDE)) & ROW;
    inside |= std::uint64_t{all} << (j * BLOCKS_PER_SIDE);
    beyond |= std::uint64_t{none} << (j * BLOCKS_PER_SIDE);
  }
}

// The blocks the triangle may reach and those it fills. A point is in a
// triangle that is not degenerate exactly when it lies on the inner side
// of, or on, each of the three edges: that is when the area test's three
// parts have one sign. So a block whose corners are all inside is filled
// (the triangle is convex), and one whose corners all lie beyond one edge is
// out of reach. A degenerate triangle reaches its bounding box and fills
// nothing.
void blocks_of_triangle(const primitive& p, int x0, int y0, std::uint64_t& reached,
                        std::uint64_t& filled) {
  reached = box_blocks(p, x0, y0);
  filled = 0;
  if (reached == 0) return;
  const std::int64_t x[3] = {p.x1, p.x2, p.x3}, y[3] = {p.y1, p.y2, p.y3};
  std::int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  if (area == 0) return;
  std::int64_t orientation = area > 0 ? 1 : -1;
  filled = ~std::uint64_t{0};
  for (int k = 0; k < 3; ++k) {
    int n = (k + 1) % 3;
    std::uint64_t inside, beyond;
    blocks_by_edge(sides_of_edge(x[k], y[k], x[n], y[n], orientation, x0, y0), inside, beyond);
    filled &= inside;
    reached &= ~beyond;
  }
  filled &= reached;
}

// The pixels of the block with top-left pixel (left, top) that the shape
// holds, each by the list walk's own test of the shape: on or inside all
// three edges for a triangle that is not degenerate (see blocks_of_triangle),
// the test itself for a degenerate one, which is rare.
std::uint64_t pixels_held(const primitive& p, int left, int top) {
  const std::int64_t x[3] = {p.x1, p.x2, p.x3}, y[3] = {p.y1, p.y2, p.y3};
  std::int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  std::uint64_t held = ~std::uint64_t{0};
  if (area == 0) {
    held = 0;
    for (int r = 0; r < BLOCK; ++r)
      for (int c = 0; c < BLOCK; ++c)
        if (terrain_cells::shape_holds(p, left + c, top + r))
          held |= std::uint64_t{1} << (r * BLOCK + c);
    return held;
  }
  std::int64_t orientation = area > 0 ? 1 : -1;
  for (int k = 0; k < 3; ++k) {
    int n = (k + 1) % 3;
    std::int64_t step_x = -(y[n] - y[k]) * orientation, step_y = (x[n] - x[k]) * orientation;
    std::int64_t row = ((x[n] - x[k]) * (top - y[k]) - (y[n] - y[k]) * (left - x[k])) * orientation;
    std::uint64_t inside = 0;
    for (int r = 0; r < BLOCK; ++r, row += step_y) {
      std::int64_t at = row;
      for (int c = 0; c < BLOCK; ++c, at += step_x)
        inside |= static_cast<std::uint64_t>(at >= 0) << (r * BLOCK + c);
    }
    held &= inside;
  }
  return held;
}

// The first solid triangle of the shape group starting at k, or null.
const primitive* solid_of_group(const primitive* const* triangles, const std::uint32_t* same_shape,
                                std::uint32_t k) {
  for (std::uint32_t j = k; j < k + same_shape[k]; ++j)
    if (triangles[j]->solid) return triangles[j];
  return nullptr;
}

// Beyond this many shapes in a cell, sorting costs more than it saves.
constexpr std::uint32_t MOST_SHAPES = 64;
}  // namespace

std::uint32_t sort_blocks(const primitive* const* triangles, const std::uint32_t* same_shape,
                          std::uint32_t count, int x0, int y0, cell_blocks& blocks,
                          block_pixels* pixels) {
  blocks = {0, 0, nullptr, 0, 0};
  std::uint32_t shapes = 0;
  for (std::uint32_t k = 0; k < count; k += same_shape[k]) ++shapes;
  if (shapes > MOST_SHAPES) return 0;
  for (std::uint32_t k = 0; k < count; ++k)
    if (!terrain_cells::exact_everywhere(*triangles[k])) return 0;
  // Triangles with the same corners sit together: one test for each shape,
  // and any solid one of them can be the filler.
  std::uint64_t reached_by[MOST_SHAPES];
  std::uint64_t reached = 0, best_filled = 0;
  const primitive* best = nullptr;
  for (std::uint32_t k = 0, shape = 0; k < count; k += same_shape[k], ++shape) {
    std::uint64_t filled;
    blocks_of_triangle(*triangles[k], x0, y0, reached_by[shape], filled);
    reached |= reached_by[shape];
    const primitive* solid = solid_of_group(triangles, same_shape, k);
    if (solid && bits_set(filled) > bits_set(best_filled)) {
      best_filled = filled;
      best = solid;
    }
  }
  blocks.empty = ~reached;
  blocks.full = best_filled;
  blocks.filler_solid = best ? &best->solid : nullptr;
  // Each other block: the pixels no shape holds, and those of the solid
  // shape that holds the most of them.
  std::uint32_t written = 0;
  for (std::uint64_t mixed = reached & ~best_filled; mixed != 0; mixed &= mixed - 1) {
    int b = __builtin_ctzll(mixed);
    int left = x0 + (b % BLOCKS_PER_SIDE) * BLOCK, top = y0 + (b / BLOCKS_PER_SIDE) * BLOCK;
    block_pixels& out = pixels[written++];
    out = {~std::uint64_t{0}, 0, nullptr};
    for (std::uint32_t k = 0, shape = 0; k < count; k += same_shape[k], ++shape) {
      if (!(reached_by[shape] >> b & 1)) continue;
      std::uint64_t held = pixels_held(*triangles[k], left, top);
      out.none &= ~held;
      const primitive* solid = solid_of_group(triangles, same_shape, k);
      if (solid && bits_set(held) > bits_set(out.held)) {
        out.held = held;
        out.holder_solid = &solid->solid;
      }
    }
  }
  return written;
}

cell_blocks filled_by(const primitive& filler) {
  return {0, ~std::uint64_t{0}, &filler.solid, 0, 0};
}

}  // namespace terrain_blocks
