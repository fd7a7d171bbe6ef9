#include "level/index/blocks.h"

#include "level/index/geometry.h"
#include "level/terrain.h"

namespace terrain_index {
namespace {
constexpr int BLOCK = 1 << BLOCK_SHIFT;  // pixels
constexpr int BLOCKS_PER_SIDE = 8;
constexpr std::int64_t LAST = BLOCK * BLOCKS_PER_SIDE - 1;  // pixel of a cell, each way
// Beyond this many shapes in a cell, sorting costs more than it saves.
constexpr std::uint32_t MOST_SHAPES = 64;

// One edge of a triangle that is not degenerate, seen from inside: twice
// the signed area of (a, b, p) times the triangle's orientation, not
// negative on the triangle's side of the line through a and b, or on it.
// A point lies in the triangle exactly when it lies on the inner side of
// all three edges: then the area test's three parts have one sign.
struct inner_side {
  std::int64_t ax, ay, bx, by, orientation;
  bool holds(std::int64_t px, std::int64_t py) const {
    return edge_side(ax, ay, bx, by, px, py) * orientation >= 0;
  }
};

// The triangle's three edges; false for a degenerate triangle, which has no
// inside.
bool edges_of(const corners& c, inner_side (&edges)[3]) {
  std::int64_t area = edge_side(c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2]);
  if (area == 0) return false;
  for (int k = 0; k < 3; ++k) {
    int n = (k + 1) % 3;
    edges[k] = {c.x[k], c.y[k], c.x[n], c.y[n], area > 0 ? 1 : -1};
  }
  return true;
}

// Blocks in the box, clipped to the cell with top-left pixel (x0, y0).
std::uint64_t blocks_in_box(const world_box& box, int x0, int y0) {
  std::int64_t left = std::int64_t{box.left} - x0, right = std::int64_t{box.right} - x0;
  std::int64_t top = std::int64_t{box.top} - y0, bottom = std::int64_t{box.bottom} - y0;
  if (right < 0 || left > LAST || bottom < 0 || top > LAST) return 0;
  auto block = [](std::int64_t v) {
    return static_cast<std::uint32_t>(std::min(std::max(v, std::int64_t{0}), LAST) >> BLOCK_SHIFT);
  };
  return block_range(block(left), block(right), block(top), block(bottom));
}

// The blocks the triangle may reach and those it fills. A block whose four
// corner pixels lie inside is filled (the triangle is convex), and one
// whose corners all lie beyond one edge is out of reach. A degenerate
// triangle reaches its bounding box and fills nothing.
void blocks_of_triangle(const corners& c, int x0, int y0, std::uint64_t& reached,
                        std::uint64_t& filled) {
  reached = blocks_in_box(world_box_of(c), x0, y0);
  filled = 0;
  inner_side edges[3] = {};
  if (reached == 0 || !edges_of(c, edges)) return;
  filled = reached;
  for (int b = 0; b < BLOCKS_PER_SIDE * BLOCKS_PER_SIDE; ++b) {
    std::uint64_t bit = std::uint64_t{1} << b;
    int left = x0 + (b % BLOCKS_PER_SIDE) * BLOCK, top = y0 + (b / BLOCKS_PER_SIDE) * BLOCK;
    for (const inner_side& e : edges) {
      int inside = e.holds(left, top) + e.holds(left + BLOCK - 1, top) +
                   e.holds(left, top + BLOCK - 1) + e.holds(left + BLOCK - 1, top + BLOCK - 1);
      if (inside < 4) filled &= ~bit;
      if (inside == 0) reached &= ~bit;
    }
  }
  filled &= reached;
}

// The pixels of the block with top-left pixel (left, top) that the shape
// holds, each by the list walk's own answer: inside all three edges for a
// triangle that is not degenerate, the test itself for a degenerate one.
std::uint64_t pixels_held(const primitive& p, int left, int top) {
  corners c = corners_of(p);
  inner_side edges[3] = {};
  bool plain = edges_of(c, edges);
  std::uint64_t held = 0;
  for (int r = 0; r < BLOCK; ++r)
    for (int col = 0; col < BLOCK; ++col) {
      int x = left + col, y = top + r;
      bool in = plain ? edges[0].holds(x, y) && edges[1].holds(x, y) && edges[2].holds(x, y)
                      : shape_holds(p, x, y);
      if (in) held |= std::uint64_t{1} << (r * BLOCK + col);
    }
  return held;
}
}  // namespace

const primitive* shape_list::solid_of_shape(std::uint32_t k) const {
  for (std::uint32_t j = k; j < k + same_shape[k]; ++j)
    if (triangles[j]->solid) return triangles[j];
  return nullptr;
}

std::uint64_t block_range(std::uint32_t bx0, std::uint32_t bx1, std::uint32_t by0,
                          std::uint32_t by1) {
  constexpr std::uint64_t COLUMN = 0x0101010101010101u;  // block 0 of every row
  std::uint64_t columns = (((2u << bx1) - 1) & ~((1u << bx0) - 1)) * COLUMN;
  std::uint64_t rows = (~std::uint64_t{0} >> (8 * (7 - by1))) & (~std::uint64_t{0} << (8 * by0));
  return columns & rows;
}

namespace {
// Whether the cell's blocks can be sorted at all: not too many shapes, and
// every corner exact.
bool sortable(const shape_list& list) {
  std::uint32_t shapes = 0;
  list.for_shapes([&shapes](std::uint32_t) { ++shapes; });
  if (shapes > MOST_SHAPES) return false;
  for (std::uint32_t k = 0; k < list.count; ++k)
    if (!exact_everywhere(corners_of(*list.triangles[k]))) return false;
  return true;
}

// The blocks each shape reaches (reached_by, in shape order), and the
// blocks left empty and those filled by the solid shape that fills the
// most. Each shape is tested once, and any solid one of its copies can fill.
void reach_blocks(const shape_list& list, int x0, int y0, std::uint64_t* reached_by,
                  cell_blocks& blocks) {
  std::uint64_t reached = 0, best_filled = 0;
  const primitive* best = nullptr;
  std::uint32_t shape = 0;
  list.for_shapes([&](std::uint32_t k) {
    std::uint64_t filled;
    blocks_of_triangle(corners_of(*list.triangles[k]), x0, y0, reached_by[shape], filled);
    reached |= reached_by[shape++];
    const primitive* solid = list.solid_of_shape(k);
    if (solid && bits_set(filled) > bits_set(best_filled)) {
      best_filled = filled;
      best = solid;
    }
  });
  blocks.empty = ~reached;
  blocks.full = best_filled;
  blocks.filler_solid = best ? &best->solid : nullptr;
}

// Block b's pixels: those no shape holds, and those of the solid shape
// that holds the most of them.
block_pixels pixels_of_block(const shape_list& list, int b, int x0, int y0,
                             const std::uint64_t* reached_by) {
  int left = x0 + (b % BLOCKS_PER_SIDE) * BLOCK, top = y0 + (b / BLOCKS_PER_SIDE) * BLOCK;
  block_pixels out = {~std::uint64_t{0}, 0, nullptr};
  std::uint32_t shape = 0;
  list.for_shapes([&](std::uint32_t k) {
    if (!(reached_by[shape++] >> b & 1)) return;
    std::uint64_t held = pixels_held(*list.triangles[k], left, top);
    out.none &= ~held;
    const primitive* solid = list.solid_of_shape(k);
    if (solid && bits_set(held) > bits_set(out.held)) {
      out.held = held;
      out.holder_solid = &solid->solid;
    }
  });
  return out;
}
}  // namespace

std::uint32_t sort_blocks(const shape_list& list, int x0, int y0, cell_blocks& blocks,
                          block_pixels* pixels) {
  blocks = {0, 0, nullptr, 0, 0, 1};
  if (!sortable(list)) return 0;
  blocks.unsortable = 0;
  std::uint64_t reached_by[MOST_SHAPES];
  reach_blocks(list, x0, y0, reached_by, blocks);
  std::uint32_t written = 0;
  for (std::uint64_t mixed = ~blocks.empty & ~blocks.full; mixed != 0; mixed &= mixed - 1)
    pixels[written++] = pixels_of_block(list, __builtin_ctzll(mixed), x0, y0, reached_by);
  return written;
}

cell_blocks filled_by(const primitive& filler) {
  return {0, ~std::uint64_t{0}, &filler.solid, 0, 0, 0};
}

}  // namespace terrain_index
