// The questions a blob asks of the terrain, hundreds every tick: the point
// test, answered inline by one look-up in the sorted blocks (blocks.h)
// wherever they know the answer; the same along a path of points asked one
// after another; whether a small rectangle is known to be empty; and the
// walk out of terrain's question, which learns a box of pixels known to be
// solid. Every answer is the list walk's, collideAll's. Only the blob
// includes this (and the tests and benchmarks that hold it to the walk);
// the rest of the game asks collideAll (level/terrain.h). The layers beneath:
// docs/terrain-index.md.
#pragma once

#include <cstdint>

#include "level/index/blocks.h"
#include "level/index/geometry.h"

// Pixels all known to be solid, from left to right and top to bottom
// inclusive; empty at first.
struct solid_box : terrain_index::world_box {
  solid_box() : world_box{1, 1, 0, 0} {}
};

namespace terrain_index {

// What the inline question reads, published by the index: no blocks while
// no triangle is filed or a move waits to be filed, and per area of the
// remembered range (from its first), whether moved triangles may be there.
struct quick_view {
  const cell_blocks* blocks;
  const std::uint32_t* moved_per_area;  // [(qy >> AREA_SHIFT << AREAS_SHIFT) + (qx >> AREA_SHIFT)]
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

// The answers beyond the inline look-up, in terrain_index.cpp.
bool any_solid_at(int x, int y);
bool moved_holds(int x, int y);
bool mixed_block_answer(int x, int y, std::uint32_t qx, std::uint32_t qy, const cell_blocks& cell,
                        std::uint64_t bit, block_answers* seen);
bool walk_holds(int x, int y, solid_box& known);
bool empty_rectangle(int left, int top, int right, int bottom);

// The point test, mostly from one look-up: a block no static triangle
// reaches is solid only where a moved triangle is, and a block a solid
// triangle fills is solid. What the block is known to hold is noted in
// `seen` when it is given.
[[gnu::always_inline]] inline bool solid_at(int x, int y, block_answers* seen) {
  std::uint32_t qx = static_cast<std::uint32_t>(x) + MEMORY_HALF;
  std::uint32_t qy = static_cast<std::uint32_t>(y) + MEMORY_HALF;
  const cell_blocks* blocks = quick.blocks;
  if (!blocks || !in_memory(qx, qy)) return any_solid_at(x, y);
  constexpr std::uint32_t IN_CELL = (1u << FINE_SHIFT) - 1;
  const cell_blocks& cell = blocks[memory_slot(qx, qy)];
  std::uint64_t bit = block_bit(qx & IN_CELL, qy & IN_CELL);
  if (cell.empty & bit) {
    if (quick.moved_per_area[((qy >> AREA_SHIFT) << AREAS_SHIFT) + (qx >> AREA_SHIFT)] != 0)
      return moved_holds(x, y);
    if (seen) *seen = {x >> 3, y >> 3, ~std::uint64_t{0}, 0, nullptr};
    return false;
  }
  if ((cell.full & bit) && *cell.filler_solid) {
    if (seen) *seen = {x >> 3, y >> 3, 0, ~std::uint64_t{0}, cell.filler_solid};
    return true;
  }
  return mixed_block_answer(x, y, qx, qy, cell, bit, seen);
}

}  // namespace terrain_index

// collideAll, inline.
[[gnu::always_inline]] inline bool terrain_collides(int x, int y) {
  return terrain_index::solid_at(x, y, nullptr);
}

// collideAll for the points of one path asked one after another with no
// change to the terrain in between, like a ray march within one blob's
// step: it remembers what the last 8x8 block asked about holds, so that
// most questions that follow inside it cost a comparison or two.
class terrain_path {
 public:
  [[gnu::always_inline]] bool collides(int x, int y) {
    if ((x >> 3) == seen_.x && (y >> 3) == seen_.y) {
      std::uint64_t pixel = std::uint64_t{1} << (((y & 7) << 3) | (x & 7));
      if (seen_.none & pixel) return false;
      if ((seen_.held & pixel) && *seen_.holder_solid) return true;
    }
    return terrain_index::solid_at(x, y, &seen_);
  }

 private:
  terrain_index::block_answers seen_;
};

// True when collideAll is false for every pixel from (left, top) to
// (right, bottom) inclusive, as far as the sorted blocks know without
// testing a triangle: a rectangle of at most 64 pixels each way wholly in
// blocks that no triangle reaches. False means only that it is not known.
inline bool known_empty(int left, int top, int right, int bottom) {
  return terrain_index::empty_rectangle(left, top, right, bottom);
}

// collideAll for walks of many one-pixel steps through solid terrain: true
// at once for a point inside `known`, and when every pixel of a cell around
// the point is known to be solid, `known` becomes that cell, the largest
// one a solid triangle is known to fill. The box stays true only while no
// triangle changes, so keep it within one walk.
inline bool collideAllWithin(int x, int y, solid_box& known) {
  return known.holds(x, y) || terrain_index::walk_holds(x, y, known);
}
