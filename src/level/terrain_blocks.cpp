#include "level/terrain_blocks.h"

#include <algorithm>

#include "level/terrain.h"
#include "level/terrain_cells.h"

namespace terrain_blocks {
namespace {
constexpr int BLOCK = 1 << BLOCK_SHIFT;
constexpr int CELL = BLOCK * BLOCKS_PER_SIDE;
constexpr int LATTICE = BLOCKS_PER_SIDE + 1;  // block corners each way
constexpr std::uint32_t ROW = (1u << LATTICE) - 1;

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

// One edge's side at the block corners: bit (row, column) set where the
// corner lies on the triangle's side of the edge or on it. The corners are
// pixels x0 + 8i, y0 + 8j, so block (i, j) is the square between corners
// (i, j) and (i + 1, j + 1), which holds all its 8x8 pixels and one more
// row and column.
struct edge_sides {
  std::uint32_t rows[LATTICE];
};

edge_sides sides_of_edge(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                         std::int64_t orientation, int x0, int y0) {
  // Twice the signed area of (a, b, corner), times the triangle's
  // orientation: not negative on the triangle's side. Linear in the corner,
  // so each corner is the last plus a constant step.
  std::int64_t step_x = -(by - ay) * BLOCK * orientation;
  std::int64_t step_y = (bx - ax) * BLOCK * orientation;
  std::int64_t start = ((bx - ax) * (y0 - ay) - (by - ay) * (x0 - ax)) * orientation;
  edge_sides sides{};
  for (int j = 0; j < LATTICE; ++j, start += step_y) {
    std::int64_t value = start;
    for (int i = 0; i < LATTICE; ++i, value += step_x)
      sides.rows[j] |= static_cast<std::uint32_t>(value >= 0) << i;
  }
  return sides;
}

// Blocks all four of whose corners are on the triangle's side (`inside`) or
// all strictly beyond the edge (`beyond`).
void blocks_by_edge(const edge_sides& s, std::uint64_t& inside, std::uint64_t& beyond) {
  inside = beyond = 0;
  for (int j = 0; j < BLOCKS_PER_SIDE; ++j) {
    std::uint32_t top = s.rows[j], bottom = s.rows[j + 1];
    std::uint32_t all = top & (top >> 1) & bottom & (bottom >> 1);
    std::uint32_t none = ~(top | (top >> 1) | bottom | (bottom >> 1)) & (ROW >> 1);
    inside |= std::uint64_t{all & (ROW >> 1)} << (j * BLOCKS_PER_SIDE);
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
}  // namespace

cell_blocks sort_blocks(const primitive* const* triangles, const std::uint32_t* same_shape,
                        std::uint32_t count, int x0, int y0) {
  for (std::uint32_t k = 0; k < count; ++k)
    if (!terrain_cells::exact_everywhere(*triangles[k])) return {0, 0, nullptr};
  std::uint64_t reached = 0, best_filled = 0;
  const primitive* best = nullptr;
  // Triangles with the same corners sit together: one test for each shape,
  // and any solid one of them can be the filler.
  for (std::uint32_t k = 0; k < count; k += same_shape[k]) {
    std::uint64_t shape_reached, shape_filled;
    blocks_of_triangle(*triangles[k], x0, y0, shape_reached, shape_filled);
    reached |= shape_reached;
    const primitive* solid = nullptr;
    for (std::uint32_t j = k; j < k + same_shape[k] && !solid; ++j)
      if (triangles[j]->solid) solid = triangles[j];
    if (solid && __builtin_popcountll(shape_filled) > __builtin_popcountll(best_filled)) {
      best_filled = shape_filled;
      best = solid;
    }
  }
  return {~reached, best_filled, best ? &best->solid : nullptr};
}

cell_blocks filled_by(const primitive& filler) { return {0, ~std::uint64_t{0}, &filler.solid}; }

}  // namespace terrain_blocks
