// The index's face: it keeps the layers beneath in step with the triangle
// list, and answers every question by asking them in turn, from the top
// down: what is remembered about the point's cell (cell_memory.h) for the
// static terrain, then the chains (cell_chains.h) for the moved triangles.
#include "level/index/terrain_index.h"

#include <algorithm>
#include <utility>

#include "level/index/blob_questions.h"
#include "level/index/cell_chains.h"
#include "level/index/cell_memory.h"
#include "level/terrain.h"

namespace terrain_index {

quick_view quick{nullptr, nullptr};

namespace {
// Everything the index holds. It lives at namespace scope, built before
// main, so that freeCollisions, run by atexit, still finds it.
struct index_state {
  index_state() { memory.read_from(&chains); }
  cell_chains chains;
  cell_memory memory;
  std::vector<primitive*> moved;    // to be filed again, each once; room for every triangle
  std::vector<std::uint32_t> seen;  // per slot: the last drawing round it was seen in
  std::uint32_t round = 0;
};

index_state index;

// The blocks are shown to the inline question only while nothing waits to
// be filed: it reads them without asking the index first.
void publish() {
  quick.blocks = index.moved.empty() ? index.memory.blocks() : nullptr;
  quick.moved_per_area =
      index.chains.moved_per_area() + (FIRST_MEMORY_AREA << AREAS_SHIFT) + FIRST_MEMORY_AREA;
}

// Files every triangle moved since the last question at its corners now.
// The first move takes a triangle out of the static terrain, and what is
// remembered about the cells it leaves goes.
void file_moves() {
  if (index.moved.empty()) return;
  for (primitive* p : index.moved) {
    p->refile_due = false;
    grid_box was = index.chains.record(p).box;
    if (index.chains.refile(p)) index.memory.forget(was);
  }
  index.moved.clear();
  publish();
}

bool moved_near(std::uint32_t qx, std::uint32_t qy) {
  return quick.moved_per_area[((qy >> AREA_SHIFT) << AREAS_SHIFT) + (qx >> AREA_SHIFT)] != 0;
}
}  // namespace

void add(primitive* p) {
  index.memory.take();
  p->order = static_cast<unsigned>(index.chains.triangles());
  index.chains.add(p);
  index.memory.forget(index.chains.record(p).box);
  index.seen.push_back(0);
  if (index.moved.capacity() < index.seen.size()) index.moved.reserve(index.seen.capacity());
  publish();
}

void moved(primitive* p) {
  index.chains.record(p);  // checks, in debug builds, that the index has it
  index.moved.push_back(p);
  quick.blocks = nullptr;
}

void clear() {
  index.moved.clear();
  index.chains.clear();
  index.memory.forget_all();
  std::vector<std::uint32_t>().swap(index.seen);
  index.round = 0;
  publish();
}

// The blob's own inline question: most answers from one look-up.
bool holds(int x, int y) { return solid_at(x, y, nullptr); }

bool any_solid_at(int x, int y) {
  if (index.chains.triangles() == 0) return false;
  file_moves();
  return index.memory.static_holds(x, y, nullptr) || index.chains.mobile_holds(x, y);
}

bool moved_holds(int x, int y) {
  file_moves();
  return index.chains.mobile_holds(x, y);
}

// The mixed block's pixels, where they are still in the store: one no
// triangle holds is solid only where a moved triangle is, one that a solid
// triangle holds is solid.
bool mixed_block_answer(int x, int y, std::uint32_t qx, std::uint32_t qy, const cell_blocks& cell,
                        std::uint64_t bit, block_answers* seen) {
  const block_pixels* block = cell.full & bit ? nullptr : index.memory.mixed_pixels(cell, bit);
  if (block) {
    bool moved = moved_near(qx, qy);
    if (seen) *seen = {x >> 3, y >> 3, moved ? 0 : block->none, block->held, block->holder_solid};
    std::uint64_t pixel = pixel_bit(qx, qy);
    if ((block->held & pixel) && *block->holder_solid) return true;
    if (block->none & pixel) return moved && index.chains.mobile_holds(x, y);
  }
  return any_solid_at(x, y);
}

void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out) {
  out.clear();
  file_moves();
  if (++index.round == 0) {  // the counter wrapped: forget the old rounds
    std::fill(index.seen.begin(), index.seen.end(), 0);
    index.round = 1;
  }
  index.chains.for_each_near(grid_box_of({left, top, right, bottom}), [&](const primitive* p) {
    if (!p->drawn || index.seen[p->order] == index.round) return;
    index.seen[p->order] = index.round;
    out.push_back(p);
  });
  std::sort(out.begin(), out.end(),
            [](const primitive* a, const primitive* b) { return a->order < b->order; });
}

// Deep in a huge triangle, the coarse cells it fills answer at once, and
// the fine cells' memories, a fresh page each for a walk across them, stay
// untouched.
bool walk_holds(int x, int y, solid_box& known) {
  if (index.chains.triangles() == 0) return false;
  file_moves();
  std::uint32_t gx = grid_coord(x), gy = grid_coord(y);
  filled_cell filled = index.chains.largest_filled_cell(gx, gy);
  if (filled.filler) {
    static_cast<world_box&>(known) = cell_pixels(filled.level, gx, gy);
    return true;
  }
  return index.memory.static_holds(x, y, &known) || index.chains.mobile_holds(x, y);
}

bool empty_rectangle(int left, int top, int right, int bottom) {
  constexpr std::uint32_t CELL = 1u << FINE_SHIFT, IN_CELL = CELL - 1;
  std::uint32_t qx0 = static_cast<std::uint32_t>(left) + MEMORY_HALF;
  std::uint32_t qy0 = static_cast<std::uint32_t>(top) + MEMORY_HALF;
  std::uint32_t qx1 = static_cast<std::uint32_t>(right) + MEMORY_HALF;
  std::uint32_t qy1 = static_cast<std::uint32_t>(bottom) + MEMORY_HALF;
  if (!quick.blocks || !in_memory(qx0, qy0) || !in_memory(qx1, qy1) || qx1 < qx0 || qy1 < qy0 ||
      qx1 - qx0 >= CELL || qy1 - qy0 >= CELL)
    return false;
  // At most 64 pixels each way: the corners' areas are all the areas, and
  // the first and the last cells each way are all the cells.
  if (moved_near(qx0, qy0) || moved_near(qx1, qy0) || moved_near(qx0, qy1) || moved_near(qx1, qy1))
    return false;
  // Blocks 0..7 each way within a cell, cut to the rectangle in its first
  // and last cells.
  auto blocks_of = [](std::uint32_t cell, std::uint32_t first_q, std::uint32_t last_q) {
    std::uint32_t from = cell == first_q >> FINE_SHIFT ? (first_q & IN_CELL) >> BLOCK_SHIFT : 0;
    std::uint32_t to = cell == last_q >> FINE_SHIFT ? (last_q & IN_CELL) >> BLOCK_SHIFT : 7;
    return std::pair{from, to};
  };
  for (std::uint32_t cy = qy0 >> FINE_SHIFT; cy <= qy1 >> FINE_SHIFT; ++cy)
    for (std::uint32_t cx = qx0 >> FINE_SHIFT; cx <= qx1 >> FINE_SHIFT; ++cx) {
      auto [bx0, bx1] = blocks_of(cx, qx0, qx1);
      auto [by0, by1] = blocks_of(cy, qy0, qy1);
      std::uint64_t wanted = block_range(bx0, bx1, by0, by1);
      const cell_blocks& cell = quick.blocks[memory_slot(cx << FINE_SHIFT, cy << FINE_SHIFT)];
      if ((cell.empty & wanted) != wanted) return false;
    }
  return true;
}

}  // namespace terrain_index
