// The quick layer of the terrain index: what it knows about the 8x8-pixel
// blocks of the 64-pixel cells that blobs keep asking about, so that the
// point test answers most questions inline with one or two look-ups and no
// triangle test. Every 64-pixel cell of world pixels -32,768..32,767 each
// way has a record (at cell_slot): zero until the cell has been asked
// about often enough, then its blocks sorted (terrain_blocks.h), and zero again
// as soon as a static triangle near it changes. Moved triangles, which the
// blocks leave out, are counted per 2,048-pixel area; a question in an area
// with one goes on to the moved triangles themselves.
//
// The inline answers are for terrain.h; terrain_index.cpp keeps the tables
// in step with the triangles.
#pragma once

#include <cstddef>
#include <cstdint>

#include "level/terrain_blocks.h"
#include "level/terrain_index.h"

namespace terrain_index {

constexpr int QUICK_HALF = 32768;  // pixels each way from the origin
constexpr int QUICK_CELL_SHIFT = 6;
constexpr int QUICK_SIDE_SHIFT = 10;  // 1,024 cells each way
constexpr std::size_t QUICK_CELLS = std::size_t{1} << (2 * QUICK_SIDE_SHIFT);
constexpr int AREA_SHIFT = 11;
constexpr int AREAS_SHIFT = 6;                  // 64 areas each way over the index's grid
constexpr std::uint32_t FIRST_QUICK_AREA = 16;  // the area of world -32,768

struct quick_view {
  const terrain_blocks::cell_blocks* blocks;  // null while no triangle is filed
  // Entries of moved triangles per area, from the area of world -32,768:
  // [(qy >> AREA_SHIFT << AREAS_SHIFT) + (qx >> AREA_SHIFT)].
  const std::uint32_t* mobile_entries;
};
extern quick_view quick;

// A point's quick coordinates: x and y plus QUICK_HALF, which wrap far out
// of range for points beyond it.
inline bool quick_range(std::uint32_t qx, std::uint32_t qy) {
  return ((qx | qy) >> (QUICK_CELL_SHIFT + QUICK_SIDE_SHIFT)) == 0;
}

// The place of a cell's record in the per-cell tables (its blocks, its
// memo): tile by tile, each tile the 32 x 32 cells of one 2,048-pixel area,
// row by row within it. The tables are far larger than what a level asks
// about, and every page of them first touched costs the system a fresh page
// (about 2 us here); a blob's cells, a walk out of terrain in any direction
// and an area forgotten at once then touch few pages, where rows of the
// whole range put each cell of a vertical run on a page of its own.
constexpr int TILE_SHIFT = AREA_SHIFT - QUICK_CELL_SHIFT;  // cells per tile side: 32
inline std::size_t cell_slot(std::uint32_t cx, std::uint32_t cy) {
  constexpr std::uint32_t IN_TILE = (1u << TILE_SHIFT) - 1;
  constexpr int TILES_SHIFT = QUICK_SIDE_SHIFT - TILE_SHIFT;
  std::size_t tile = ((cy >> TILE_SHIFT) << TILES_SHIFT) | (cx >> TILE_SHIFT);
  return (tile << (2 * TILE_SHIFT)) | ((cy & IN_TILE) << TILE_SHIFT) | (cx & IN_TILE);
}

inline std::size_t quick_slot(std::uint32_t qx, std::uint32_t qy) {
  return cell_slot(qx >> QUICK_CELL_SHIFT, qy >> QUICK_CELL_SHIFT);
}

// Whether a moved triangle may be filed near the point, within the range.
inline bool mobile_near(std::uint32_t qx, std::uint32_t qy) {
  return quick.mobile_entries[((qy >> AREA_SHIFT) << AREAS_SHIFT) + (qx >> AREA_SHIFT)] != 0;
}

// What an 8x8 block (pixel coordinates shifted right by 3) is known to
// hold, for a run of questions between which nothing changes: the pixels no
// triangle holds, moved ones included, and those a triangle holds whose
// solid flag is at `holder_solid`.
struct block_answers {
  int x = -2147483647 - 1, y = 0;
  std::uint64_t none = 0, held = 0;
  const bool* holder_solid = nullptr;
};

// The answer for a point (quick coordinates qx, qy) of a sorted cell in a
// block (its bit in the cell) that is neither empty nor, with a solid
// filler, full. Notes what the block holds in `seen` when it is given and
// known.
bool mixed_block_answer(int x, int y, std::uint32_t qx, std::uint32_t qy,
                        const terrain_blocks::cell_blocks& cell, std::uint64_t bit,
                        block_answers* seen);

// The answer of any_solid_at, mostly from one look-up: a block no triangle
// reaches is solid only where a moved triangle is, and a block a solid
// triangle fills is solid. What the block is known to hold is noted in
// `seen` when it is given.
[[gnu::always_inline]] inline bool solid_at(int x, int y, block_answers* seen) {
  std::uint32_t qx = static_cast<std::uint32_t>(x) + QUICK_HALF;
  std::uint32_t qy = static_cast<std::uint32_t>(y) + QUICK_HALF;
  const terrain_blocks::cell_blocks* blocks = quick.blocks;
  if (blocks && quick_range(qx, qy)) {
    constexpr std::uint32_t IN_CELL = (1u << QUICK_CELL_SHIFT) - 1;
    const terrain_blocks::cell_blocks& cell = blocks[quick_slot(qx, qy)];
    std::uint64_t bit = terrain_blocks::block_bit(qx & IN_CELL, qy & IN_CELL);
    if (cell.empty & bit) {
      if (mobile_near(qx, qy)) return mobile_holds(x, y);
      if (seen) *seen = {x >> 3, y >> 3, ~std::uint64_t{0}, 0, nullptr};
      return false;
    }
    if ((cell.full & bit) && *cell.filler_solid) {
      if (seen) *seen = {x >> 3, y >> 3, 0, ~std::uint64_t{0}, cell.filler_solid};
      return true;
    }
    return mixed_block_answer(x, y, qx, qy, cell, bit, seen);
  }
  return any_solid_at(x, y, nullptr);
}

// Whether the sorted blocks show that no triangle, static or moved, holds
// any pixel of the rectangle (at most 64 pixels each way; larger ones are
// not known).
bool empty_rectangle(int left, int top, int right, int bottom);

// For terrain_index.cpp, which keeps the tables in step.
namespace quick_tables {

// Takes the tables, zeroed, with the index's first triangle; gives them back.
void take();
void give_back();

// Hides the blocks from the inline point test, which then asks the index,
// or shows them again.
void hide_blocks();
void show_blocks();

// A moved triangle's entry has been linked into (by 1) or unlinked from (by
// -1) a cell that meets the areas (of the index's grid, 64 each way) from
// (ax0, ay0) to (ax1, ay1).
void count_mobile_entry(std::uint32_t ax0, std::uint32_t ay0, std::uint32_t ax1, std::uint32_t ay1,
                        int by);

// A static triangle has been filed in the area (of the index's grid) or has
// left it: what was sorted there goes.
void forget_area(std::uint32_t ax, std::uint32_t ay);

// The cell holding the quick point is filled by a solid triangle.
void note_filled(std::uint32_t qx, std::uint32_t qy, const primitive& filler);

// Sorts the blocks of the cell holding the quick point from every triangle
// that may hold a pixel of it (see terrain_blocks::sort_blocks).
void sort_cell(std::uint32_t qx, std::uint32_t qy, const primitive* const* triangles,
               const std::uint32_t* same_shape, std::uint32_t count);

// Whether what was sorted for the cell is all still there: its mixed
// blocks' pixels may have gone with a store that filled up.
bool sorted_cell_whole(std::uint32_t qx, std::uint32_t qy);

}  // namespace quick_tables
}  // namespace terrain_index
