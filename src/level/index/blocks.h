// The 8x8-pixel blocks of a 64-pixel cell, sorted once into those no
// triangle can reach, those one solid triangle fills, and the rest, whose
// pixels are sorted one by one. Most points a blob asks about lie in air or
// deep in ground, so with these masks the blob's inline question answers
// most of them with one look-up and no triangle test. Pure geometry: the
// cell memory (cell_memory.h) keeps the results and decides when to sort.
// See docs/terrain-index.md.
#pragma once

#include <cstdint>

struct primitive;

namespace terrain_index {

// The static triangles that may hold a pixel of a cell, those of one shape
// side by side: same_shape[k] counts the triangles from k on that share
// triangle k's corners, so each shape is tested once, however many copies
// of it a level holds.
struct shape_list {
  const primitive* const* triangles;
  const std::uint32_t* same_shape;
  std::uint32_t count;

  // Calls visit(k) for the first triangle k of every shape.
  template <typename Visit>
  void for_shapes(Visit visit) const {
    for (std::uint32_t k = 0; k < count; k += same_shape[k]) visit(k);
  }
  // The first solid triangle of the shape starting at k, or null.
  const primitive* solid_of_shape(std::uint32_t k) const;
};

// What is known of a sorted cell's blocks. The solid flags are read again at
// every use: a flag may be cleared at any time.
struct cell_blocks {
  std::uint64_t empty;       // blocks in which no triangle of the cell holds any pixel
  std::uint64_t full;        // blocks every pixel of which one solid triangle holds
  const bool* filler_solid;  // that triangle's flag
  // The other blocks' pixels, in block order, from this place in the store
  // of block pixels, while the store is in the era they were written in.
  std::uint32_t pixels;
  std::uint32_t era : 31;
  // The cell's triangles were not sorted (see sort_blocks): nothing is
  // known, and there is nothing to sort again.
  std::uint32_t unsortable : 1;
};

// The pixels of a block that is neither empty nor full: those no triangle
// of the cell holds, and those one solid triangle holds.
struct block_pixels {
  std::uint64_t none;
  std::uint64_t held;
  const bool* holder_solid;
};

// Bits set, by adding neighbouring counts in parallel: the builtin is a
// library call on processors the build cannot assume a count instruction
// on, and this runs for many questions.
inline std::uint32_t bits_set(std::uint64_t v) {
  v = v - ((v >> 1) & 0x5555555555555555u);
  v = (v & 0x3333333333333333u) + ((v >> 2) & 0x3333333333333333u);
  v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<std::uint32_t>((v * 0x0101010101010101u) >> 56);
}

// Which of the blocks that are neither empty nor full a block is, counted
// in block order.
inline std::uint32_t mixed_rank(const cell_blocks& c, std::uint64_t bit) {
  return bits_set(~(c.empty | c.full) & (bit - 1));
}

// The blocks of bx0..bx1 across and by0..by1 down (each 0..7).
std::uint64_t block_range(std::uint32_t bx0, std::uint32_t bx1, std::uint32_t by0,
                          std::uint32_t by1);

// Sorts the blocks of the 64-pixel cell with top-left pixel (x0, y0) given
// every triangle that may hold a pixel of it, solid or not. The pixels of
// each block that is neither empty nor full go to `pixels` (room for 64),
// in block order; returns how many. The cell is unsortable (nothing known,
// no pixels) when a corner lies so far out that the area test could
// overflow, where geometry no longer tells what the test answers, or when
// the cell has so many shapes that sorting would cost more than it saves.
std::uint32_t sort_blocks(const shape_list& list, int x0, int y0, cell_blocks& blocks,
                          block_pixels* pixels);

// The whole cell filled by one solid triangle.
cell_blocks filled_by(const primitive& filler);

}  // namespace terrain_index
