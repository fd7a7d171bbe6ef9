// The 8x8-pixel blocks of a 64-pixel cell of the terrain index, sorted once
// into those no triangle can reach, those one solid triangle fills, and the
// rest. Most points a blob asks about lie in air or deep in ground, so with
// these two masks the point test answers most questions with one look-up
// and no triangle test (the inline collideAll in terrain.h). Pure geometry:
// terrain_index.cpp decides when a cell's blocks are sorted and forgets them
// when its static triangles change.
#pragma once

#include <cstdint>

struct primitive;

namespace terrain_blocks {

constexpr int BLOCK_SHIFT = 3;  // 8-pixel blocks
constexpr int BLOCKS_PER_SIDE = 8;

// Bit of the block holding a pixel, from the pixel's place in its cell
// (0..63 each way).
inline std::uint64_t block_bit(std::uint32_t cell_x, std::uint32_t cell_y) {
  return std::uint64_t{1} << (((cell_y >> BLOCK_SHIFT) << BLOCK_SHIFT) | (cell_x >> BLOCK_SHIFT));
}

// The pixels of a block that is neither empty nor filled: those no
// triangle of the cell holds, and those one triangle holds.
struct block_pixels {
  std::uint64_t none;
  std::uint64_t held;
  const bool* holder_solid;  // read again at every use, like filler_solid
};

// Bit of a pixel within its block, from its place in the cell.
inline std::uint64_t pixel_bit(std::uint32_t cell_x, std::uint32_t cell_y) {
  constexpr std::uint32_t IN_BLOCK = (1u << BLOCK_SHIFT) - 1;
  return std::uint64_t{1} << (((cell_y & IN_BLOCK) << BLOCK_SHIFT) | (cell_x & IN_BLOCK));
}

struct cell_blocks {
  std::uint64_t empty;  // blocks in which no triangle of the cell holds any pixel
  std::uint64_t full;   // blocks every pixel of which one triangle holds
  // That triangle's solid flag, set when sorted and read again at every use:
  // a flag may be cleared at any time.
  const bool* filler_solid;
  // The other blocks' pixels, in block order, from this place in a store
  // of block_pixels, while the store is in the era they were written in
  // (0: none written).
  std::uint32_t pixels;
  std::uint32_t pixels_era;
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

// Sorts the blocks of the 64-pixel cell with top-left pixel (x0, y0), given
// every triangle that may hold a pixel of it, solid or not, with those of
// the same corners together: same_shape[k] counts the triangles from k on
// that share triangle k's corners. The pixels of each block that is neither
// empty nor full go to `pixels` (room for 64), in block order; returns how
// many. Nothing is known (both masks 0, no pixels) when a corner lies so
// far out that the area test could overflow, where geometry no longer tells
// what the test answers, or when the cell has so many shapes that sorting
// would cost more than it saves.
std::uint32_t sort_blocks(const primitive* const* triangles, const std::uint32_t* same_shape,
                          std::uint32_t count, int x0, int y0, cell_blocks& blocks,
                          block_pixels* pixels);

// The whole cell filled by one solid triangle.
cell_blocks filled_by(const primitive& filler);

}  // namespace terrain_blocks
