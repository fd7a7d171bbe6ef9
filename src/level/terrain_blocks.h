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

struct cell_blocks {
  std::uint64_t empty;  // blocks in which no triangle of the cell holds any pixel
  std::uint64_t full;   // blocks every pixel of which one triangle holds
  // That triangle's solid flag, set when sorted and read again at every use:
  // a flag may be cleared at any time.
  const bool* filler_solid;
};

// Sorts the blocks of the 64-pixel cell with top-left pixel (x0, y0), given
// every triangle that may hold a pixel of it, solid or not, with those of
// the same corners together: same_shape[k] counts the triangles from k on
// that share triangle k's corners. Nothing is known (both masks 0) when a
// corner lies so far out that the area test could overflow, where geometry
// no longer tells what the test answers.
cell_blocks sort_blocks(const primitive* const* triangles, const std::uint32_t* same_shape,
                        std::uint32_t count, int x0, int y0);

// The whole cell filled by one solid triangle.
cell_blocks filled_by(const primitive& filler);

}  // namespace terrain_blocks
