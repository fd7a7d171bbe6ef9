#include "level/terrain_quick.h"

#include <algorithm>

#include "level/terrain.h"
#include "level/zeroed_pages.h"

namespace terrain_index {

quick_view quick;

namespace {
using terrain_blocks::block_pixels;
using terrain_blocks::cell_blocks;

constexpr std::uint32_t AREAS_PER_SIDE = 1u << AREAS_SHIFT;
constexpr std::uint32_t CELLS_PER_AREA = 1u << (AREA_SHIFT - QUICK_CELL_SHIFT);  // each way
// Room for the mixed blocks of some 10,000 cells; when it is full, a new
// era begins and cells are sorted again as they are asked about.
constexpr std::uint32_t PIXEL_STORE = 1u << 18;
constexpr std::uint32_t BLOCKS = 64;

struct quick_state {
  cell_blocks* blocks = nullptr;  // per cell, in untouched pages until used
  block_pixels* pixels = nullptr;
  std::uint32_t pixels_used = 0;
  std::uint32_t pixels_era = 1;
  // Per area of the index's grid: entries of moved triangles in cells that
  // meet it, and whether a cell in it has its blocks sorted.
  std::uint32_t mobile_entries[AREAS_PER_SIDE * AREAS_PER_SIDE] = {};
  bool sorted[AREAS_PER_SIDE * AREAS_PER_SIDE] = {};
};
quick_state tables;

void publish() {
  quick.blocks = tables.blocks;
  quick.mobile_entries =
      tables.mobile_entries + FIRST_QUICK_AREA * AREAS_PER_SIDE + FIRST_QUICK_AREA;
}

void set_blocks(std::uint32_t qx, std::uint32_t qy, const cell_blocks& blocks) {
  tables.blocks[quick_slot(qx, qy)] = blocks;
  tables.sorted[((qy >> AREA_SHIFT) + FIRST_QUICK_AREA) * AREAS_PER_SIDE + (qx >> AREA_SHIFT) +
                FIRST_QUICK_AREA] = true;
}

// The blocks of a cell from block column bx0 to bx1 and row by0 to by1.
std::uint64_t block_range(std::uint32_t bx0, std::uint32_t bx1, std::uint32_t by0,
                          std::uint32_t by1) {
  constexpr std::uint64_t COLUMN = 0x0101010101010101u;  // block 0 of every row
  std::uint64_t columns = (((2u << bx1) - 1) & ~((1u << bx0) - 1)) * COLUMN;
  std::uint64_t rows = (~std::uint64_t{0} >> (8 * (7 - by1))) & (~std::uint64_t{0} << (8 * by0));
  return columns & rows;
}
}  // namespace

// The mixed block's pixels, where they are still in the store: one no
// triangle holds is solid only where a moved triangle is, one that a solid
// triangle holds is solid.
bool mixed_block_answer(int x, int y, std::uint32_t qx, std::uint32_t qy, const cell_blocks& cell,
                        std::uint64_t bit, block_answers* seen) {
  if (!(cell.full & bit) && cell.pixels_era == tables.pixels_era) {
    const block_pixels& block = tables.pixels[cell.pixels + terrain_blocks::mixed_rank(cell, bit)];
    bool mobile = mobile_near(qx, qy);
    if (seen) *seen = {x >> 3, y >> 3, mobile ? 0 : block.none, block.held, block.holder_solid};
    std::uint64_t pixel = terrain_blocks::pixel_bit(qx, qy);
    if ((block.held & pixel) && *block.holder_solid) return true;
    if (block.none & pixel) return mobile && mobile_holds(x, y);
  }
  return any_solid_at(x, y, nullptr);
}

bool empty_rectangle(int left, int top, int right, int bottom) {
  constexpr std::uint32_t CELL = 1u << QUICK_CELL_SHIFT, IN_CELL = CELL - 1;
  constexpr int BLOCK_SHIFT = terrain_blocks::BLOCK_SHIFT;
  std::uint32_t qx0 = static_cast<std::uint32_t>(left) + QUICK_HALF;
  std::uint32_t qy0 = static_cast<std::uint32_t>(top) + QUICK_HALF;
  std::uint32_t qx1 = static_cast<std::uint32_t>(right) + QUICK_HALF;
  std::uint32_t qy1 = static_cast<std::uint32_t>(bottom) + QUICK_HALF;
  if (!quick.blocks || !quick_range(qx0, qy0) || !quick_range(qx1, qy1) || qx1 < qx0 ||
      qy1 < qy0 || qx1 - qx0 >= CELL || qy1 - qy0 >= CELL)
    return false;
  // At most 64 pixels each way: the corners' areas are all the areas.
  if (mobile_near(qx0, qy0) || mobile_near(qx1, qy0) || mobile_near(qx0, qy1) ||
      mobile_near(qx1, qy1))
    return false;
  // At most two cells each way: the first and the last.
  std::uint32_t cx0 = qx0 >> QUICK_CELL_SHIFT, cx1 = qx1 >> QUICK_CELL_SHIFT;
  std::uint32_t cy0 = qy0 >> QUICK_CELL_SHIFT, cy1 = qy1 >> QUICK_CELL_SHIFT;
  for (std::uint32_t cy = cy0; cy <= cy1; ++cy)
    for (std::uint32_t cx = cx0; cx <= cx1; ++cx) {
      std::uint64_t wanted = block_range(cx == cx0 ? (qx0 & IN_CELL) >> BLOCK_SHIFT : 0,
                                         cx == cx1 ? (qx1 & IN_CELL) >> BLOCK_SHIFT : 7,
                                         cy == cy0 ? (qy0 & IN_CELL) >> BLOCK_SHIFT : 0,
                                         cy == cy1 ? (qy1 & IN_CELL) >> BLOCK_SHIFT : 7);
      if ((tables.blocks[cell_slot(cx, cy)].empty & wanted) != wanted) return false;
    }
  return true;
}

namespace quick_tables {

void take() {
  if (tables.blocks) return;
  tables.blocks = take_zeroed_table<cell_blocks>(QUICK_CELLS);
  tables.pixels = take_zeroed_table<block_pixels>(PIXEL_STORE);
  publish();
}

void give_back() {
  give_back_table(tables.blocks, QUICK_CELLS);
  give_back_table(tables.pixels, PIXEL_STORE);
  tables.blocks = nullptr;
  tables.pixels = nullptr;
  tables.pixels_used = 0;
  std::fill(std::begin(tables.mobile_entries), std::end(tables.mobile_entries), 0u);
  std::fill(std::begin(tables.sorted), std::end(tables.sorted), false);
  publish();
}

void hide_blocks() { quick.blocks = nullptr; }

void show_blocks() { quick.blocks = tables.blocks; }

void count_mobile_entry(std::uint32_t ax0, std::uint32_t ay0, std::uint32_t ax1, std::uint32_t ay1,
                        int by) {
  for (std::uint32_t ay = ay0; ay <= ay1; ++ay)
    for (std::uint32_t ax = ax0; ax <= ax1; ++ax)
      tables.mobile_entries[ay * AREAS_PER_SIDE + ax] += static_cast<std::uint32_t>(by);
}

// The inline point test reads the blocks without asking whether they are
// still good, so they are wiped at once.
void forget_area(std::uint32_t ax, std::uint32_t ay) {
  bool& sorted = tables.sorted[ay * AREAS_PER_SIDE + ax];
  if (!sorted) return;
  sorted = false;
  // An area's cells are one tile, in one run of the table.
  static_assert(CELLS_PER_AREA == 1u << TILE_SHIFT, "a tile is an area");
  std::uint32_t cx = (ax - FIRST_QUICK_AREA) * CELLS_PER_AREA;
  std::uint32_t cy = (ay - FIRST_QUICK_AREA) * CELLS_PER_AREA;
  std::fill_n(tables.blocks + cell_slot(cx, cy), CELLS_PER_AREA * CELLS_PER_AREA, cell_blocks{});
}

void note_filled(std::uint32_t qx, std::uint32_t qy, const primitive& filler) {
  set_blocks(qx, qy, terrain_blocks::filled_by(filler));
}

void sort_cell(std::uint32_t qx, std::uint32_t qy, const primitive* const* triangles,
               const std::uint32_t* same_shape, std::uint32_t count) {
  if (tables.pixels_used > PIXEL_STORE - BLOCKS) {
    tables.pixels_used = 0;
    if (++tables.pixels_era == 0) tables.pixels_era = 1;
  }
  int x0 = static_cast<int>(qx >> QUICK_CELL_SHIFT << QUICK_CELL_SHIFT) - QUICK_HALF;
  int y0 = static_cast<int>(qy >> QUICK_CELL_SHIFT << QUICK_CELL_SHIFT) - QUICK_HALF;
  cell_blocks blocks;
  std::uint32_t written = terrain_blocks::sort_blocks(triangles, same_shape, count, x0, y0, blocks,
                                                      tables.pixels + tables.pixels_used);
  if (written != 0) {
    blocks.pixels = tables.pixels_used;
    blocks.pixels_era = tables.pixels_era;
    tables.pixels_used += written;
  }
  set_blocks(qx, qy, blocks);
}

bool sorted_cell_whole(std::uint32_t qx, std::uint32_t qy) {
  const cell_blocks& b = tables.blocks[quick_slot(qx, qy)];
  std::uint64_t known = b.empty | b.full;
  return known == ~std::uint64_t{0} || known == 0 || b.pixels_era == tables.pixels_era;
}

}  // namespace quick_tables
}  // namespace terrain_index
