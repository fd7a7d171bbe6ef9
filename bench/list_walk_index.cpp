// The terrain as it was before the index: every question walks the whole
// list from its head, and moving a triangle only writes its corners. Linked
// in place of the index into blob_bench_list_walk, so that the very same
// blob, crates and levels run against the plain list walk, side by side with
// blob_bench. The blob's inline questions find no sorted blocks here and
// always fall through to the walk.
#include <algorithm>

#include "level/index/blob_questions.h"
#include "level/index/terrain_index.h"
#include "level/terrain.h"
#include "terrain_reference.h"

namespace terrain_index {

quick_view quick{nullptr, nullptr};

namespace {
unsigned next_order = 0;
}  // namespace

void add(primitive* p) { p->order = next_order++; }

void moved(primitive*) {}

void clear() { next_order = 0; }

bool holds(int x, int y) { return collideAllScan(x, y); }

bool any_solid_at(int x, int y) { return collideAllScan(x, y); }

bool moved_holds(int x, int y) { return collideAllScan(x, y); }

bool mixed_block_answer(int x, int y, std::uint32_t, std::uint32_t, const cell_blocks&,
                        std::uint64_t, block_answers*) {
  return collideAllScan(x, y);
}

bool walk_holds(int x, int y, solid_box&) { return collideAllScan(x, y); }

bool empty_rectangle(int, int, int, int) { return false; }

void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out) {
  out.clear();
  for (const primitive* p = start_ptr; p; p = p->next)
    if (p->drawn && std::max({p->x1, p->x2, p->x3}) >= left && std::min({p->x1, p->x2, p->x3}) <= right &&
        std::max({p->y1, p->y2, p->y3}) >= top && std::min({p->y1, p->y2, p->y3}) <= bottom)
      out.push_back(p);
}

}  // namespace terrain_index
