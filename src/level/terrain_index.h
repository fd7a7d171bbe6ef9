// A spatial index over the terrain triangles, so that the point test and the
// terrain drawing look only at triangles near a point or near the view
// instead of walking the whole list. It answers exactly as the list walk
// does: it narrows down which triangles are tested with the walk's own test,
// or relies on a solid triangle that the same test found to hold a whole
// cell; solid flags are always read as they are now.
//
// Triangles are filed in the cells of a stack of grids (terrain_cells.h). A
// small one sits in at most 16 cells of the finest level where that is
// enough; a large one is broken down into the cells it fills and the cells
// its edges cross, so that a point deep inside thousands of huge
// overlapping triangles is answered by one filled cell. A triangle that has
// moved, like a crate's, is filed apart from the static terrain. For every
// 64-pixel cell a point is asked about, the index then remembers which
// static triangles touch it, or that a solid one fills it: the next
// question there costs one look-up and a few triangle tests, whatever the
// size of the level.
//
// Used by terrain.cpp, which keeps the index in step with the triangle list,
// and by the terrain drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "level/terrain_blocks.h"

struct primitive;
struct solid_box;

namespace terrain_index {

// True when a solid triangle holds the point: the list walk's answer. When
// the point's whole fine cell is known to be solid and `solid_cell` is
// given, it is set to the cell's pixels.
bool any_solid_at(int x, int y, solid_box* solid_cell);

// What the inline point test reads. Every 64-pixel cell of world pixels
// -32,768..32,767 each way, row by row, has its 8x8 blocks sorted once it
// has been asked about often enough (zero masks until then, and again as
// soon as a static triangle near it changes); moved triangles, which the
// blocks leave out, are counted per 2,048-pixel area.
constexpr int QUICK_HALF = 32768;  // pixels each way from the origin
constexpr int QUICK_CELL_SHIFT = 6;
constexpr int QUICK_SIDE_SHIFT = 10;  // 1,024 cells each way
constexpr int AREA_SHIFT = 11;
constexpr int AREAS_SHIFT = 6;                 // 64 areas each way over the index's grid
constexpr std::uint32_t FIRST_MEMO_AREA = 16;  // the area of world -32,768
struct quick_view {
  const terrain_blocks::cell_blocks* blocks;  // null before the first question
  // Entries of moved triangles per area, from the area of world -32,768:
  // [(qy >> AREA_SHIFT << AREAS_SHIFT) + (qx >> AREA_SHIFT)].
  const std::uint32_t* mobile_entries;
};
extern quick_view quick;

// What an 8x8 block (pixel coordinates shifted right by 3) is known to
// hold, for a run of questions between which nothing changes: the pixels no
// triangle holds, moved ones included, and those a triangle holds whose
// solid flag is at `holder_solid`.
struct block_answers {
  int x = -2147483647 - 1, y = 0;
  std::uint64_t none = 0, held = 0;
  const bool* holder_solid = nullptr;
};

// Whether a moved triangle holds the point.
bool mobile_holds(int x, int y);

// Whether a moved triangle may be filed near the point (qx, qy): x and y
// plus QUICK_HALF, within the range of the blocks.
inline bool mobile_near(std::uint32_t qx, std::uint32_t qy) {
  return quick.mobile_entries[((qy >> AREA_SHIFT) << AREAS_SHIFT) + (qx >> AREA_SHIFT)] != 0;
}

// The answer for a point of a cell whose blocks were sorted, in a block
// that is neither empty nor, with a solid filler, full. Notes what the
// block holds in `seen` when it is given and known.
bool mixed_block_answer(int x, int y, block_answers* seen);

// The answer of any_solid_at, mostly from one look-up: a block no triangle
// reaches is solid only where a moved triangle is, and a block a solid
// triangle fills is solid. What the block is known to hold is noted in
// `seen` when it is given.
[[gnu::always_inline]] inline bool solid_at(int x, int y, block_answers* seen) {
  std::uint32_t qx = static_cast<std::uint32_t>(x) + QUICK_HALF;  // wraps when out of range
  std::uint32_t qy = static_cast<std::uint32_t>(y) + QUICK_HALF;
  const terrain_blocks::cell_blocks* blocks = quick.blocks;
  if (blocks && ((qx | qy) >> (QUICK_CELL_SHIFT + QUICK_SIDE_SHIFT)) == 0) {
    constexpr std::uint32_t IN_CELL = (1u << QUICK_CELL_SHIFT) - 1;
    const terrain_blocks::cell_blocks& cell =
        blocks[((qy >> QUICK_CELL_SHIFT) << QUICK_SIDE_SHIFT) | (qx >> QUICK_CELL_SHIFT)];
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
    return mixed_block_answer(x, y, seen);
  }
  return any_solid_at(x, y, nullptr);
}
// Whether the sorted blocks show that no triangle, static or moved, holds
// any pixel of the rectangle (at most 64 pixels each way; larger ones are
// not known).
bool empty_rectangle(int left, int top, int right, int bottom);

// Files a triangle just appended to the list; its `order` becomes its place
// in the list.
void add(primitive* p);

// Files a triangle again after its corners changed.
void refile(primitive* p);

// Forgets every triangle and releases the index's memory.
void clear();

// Fills `out` with every triangle whose bounding box may meet the closed
// rectangle, each once, in list order. `out` keeps its capacity between
// calls, so a caller that reuses it allocates nothing once it is large
// enough.
void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out);

}  // namespace terrain_index
