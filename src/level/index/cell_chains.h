// Which triangles are filed in which cells of the grid stack (geometry.h):
// for each cell, chains of the static triangles that fill it, of those
// that only cross it, and of the triangles that have moved since they were
// made, kept apart so that what is remembered about the static terrain stays
// true while crates move. A small triangle is filed in at most 16 cells of
// the finest level where that is enough; a large static one is broken down
// into the cells it fills and those its edges cross, so that a point deep
// inside thousands of huge overlapping triangles is answered by one cell.
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

#include "level/index/geometry.h"
#include "level/terrain.h"

namespace terrain_index {

enum chain { FILLED = 0, CROSSING = 1, MOBILE = 2, CHAINS = 3 };

// How a triangle is filed, by its slot (its place in the list).
struct filed {
  primitive* p;
  corners at;  // as filed
  grid_box box;
  int level;
  bool split;                 // broken down into the cells it fills and crosses
  bool mobile;                // moved since it was made
  std::uint32_t first_entry;  // its entries follow each other in filing order
};

// The largest cell holding a point that a solid static triangle fills: its
// level and the triangle, or no triangle.
struct filled_cell {
  int level;
  const primitive* filler;
};

class cell_chains {
 public:
  cell_chains();
  ~cell_chains();
  cell_chains(const cell_chains&) = delete;
  cell_chains& operator=(const cell_chains&) = delete;

  // Files a triangle just appended to the list: its slot is p->order.
  void add(primitive* p);
  // Files a triangle again at its corners now. The first move takes it out
  // of the static chains for good; then it usually stays in its cells and
  // only its corners are noted. Returns whether it was static.
  bool refile(primitive* p);
  // Forgets every triangle. The tables stay taken, emptied cell by cell where
  // triangles were filed, so that the next level does not fault their pages
  // in again; give_back, at the end, returns them.
  void clear();
  void give_back();

  const filed& record(const primitive* p) const {
    assert(p->order < records_.size() && records_[p->order].p == p &&
           "only triangles made by addVertex, and not yet freed, are filed");
    return records_[p->order];
  }
  // Whether the triangle is filed at its corners now, or waits to be: the
  // check, in debug builds, that no corner changed behind the index's back.
  bool filed_as_now(const primitive& p) const;
  const primitive& triangle(std::uint32_t slot) const { return *records_[slot].p; }
  std::size_t triangles() const { return records_.size(); }

  // Calls visit(level, triangle) for every triangle of the chain in the
  // cells holding the grid point, level by level in the order given, until
  // it returns true; returns whether it did. Every question about a point
  // goes through here.
  enum order { FINEST_FIRST, COARSEST_FIRST };
  template <typename Visit>
  bool any_at(chain c, std::uint32_t gx, std::uint32_t gy, order o, Visit visit) const;

  filled_cell largest_filled_cell(std::uint32_t gx, std::uint32_t gy) const;
  // Whether a moved triangle holds the point.
  bool mobile_holds(int x, int y);
  // Whether a static triangle of the chain holds the point.
  bool static_holds(chain c, int x, int y) const;

  // Entries of moved triangles in cells that meet each area (geometry.h):
  // where it is 0, no moved triangle can hold a point.
  const std::uint32_t* moved_per_area() const { return moved_per_area_; }

  // Calls visit(triangle) for every triangle filed in a cell that the grid
  // box meets, at any level, in no particular order, some more than once.
  template <typename Visit>
  void for_each_near(const grid_box& b, Visit visit) const;

 private:
  std::uint32_t first_at(chain c, int level, std::uint32_t gx, std::uint32_t gy) const {
    const std::uint32_t* heads = heads_[level][c];
    int s = cell_shift(level);
    return heads ? heads[(gy >> s) * cells_per_side(level) + (gx >> s)] : 0;
  }
  std::uint32_t& head(chain c, int level, std::uint32_t cx, std::uint32_t cy);
  world_box& reach(int level, std::uint32_t cx, std::uint32_t cy);
  void file(filed& f);
  void unfile(const filed& f);
  std::uint32_t link(chain c, int level, std::uint32_t cx, std::uint32_t cy, filed& f,
                     std::uint32_t after);
  void unlink(chain c, int level, std::uint32_t cx, std::uint32_t cy, std::uint32_t e);
  void count_moved(int level, std::uint32_t cx, std::uint32_t cy, int by);

  std::vector<filed> records_;
  // Chain heads per cell, in zeroed tables taken per level on first use
  // (untouched pages cost nothing), and the entries of all chains, linked
  // both ways so that a triangle leaves a cell in constant time, however
  // many share it. Entry 0 stands for "none".
  std::uint32_t* heads_[LEVELS][CHAINS] = {};
  std::vector<primitive*> entry_triangle_;
  std::vector<std::uint32_t> entry_next_, entry_previous_;
  std::vector<std::uint32_t> entry_after_;  // the same triangle's next entry
  std::uint32_t free_entries_ = 0;          // chain of entries to reuse
  unsigned used_[CHAINS] = {};              // bit L: level L may hold entries of the chain
  // Around the moved triangles of each cell, a box that holds them all: a
  // question outside it needs no look at them, so a blob beside a stack of
  // thousands of crates asks about one box, not every crate. It grows as
  // triangles join the chain or move within it, does not shrink as they
  // leave, and a look at every one of them sets it to their own reach.
  world_box* reaches_[LEVELS] = {};
  std::uint32_t moved_per_area_[AREAS] = {};
};

template <typename Visit>
bool cell_chains::any_at(chain c, std::uint32_t gx, std::uint32_t gy, order o, Visit visit) const {
  for (unsigned m = used_[c]; m != 0;) {
    int level = o == FINEST_FIRST ? __builtin_ctz(m) : 31 - __builtin_clz(m);
    m &= ~(1u << level);
    for (std::uint32_t e = first_at(c, level, gx, gy); e != 0; e = entry_next_[e]) {
      const primitive* p = entry_triangle_[e];
      assert(filed_as_now(*p) && "corners change only through moveTriangle");
      if (visit(level, p)) return true;
    }
  }
  return false;
}

template <typename Visit>
void cell_chains::for_each_near(const grid_box& b, Visit visit) const {
  for (int c = 0; c < CHAINS; ++c)
    for (unsigned m = used_[c]; m != 0; m &= m - 1) {
      int level = __builtin_ctz(m);
      const std::uint32_t* heads = heads_[level][c];
      if (!heads) continue;
      for_cells(b, level, [&](std::uint32_t cx, std::uint32_t cy) {
        for (std::uint32_t e = heads[cy * cells_per_side(level) + cx]; e != 0; e = entry_next_[e])
          visit(static_cast<const primitive*>(entry_triangle_[e]));
      });
    }
}

}  // namespace terrain_index
