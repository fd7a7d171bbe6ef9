// What the index remembers about each 64-pixel cell of the remembered range
// (geometry.h), made the first time a point of the cell is asked about: a
// static solid triangle that fills the cell, or else the list of the static
// triangles that touch it; and, for the cells blobs keep asking about, its
// 8x8 blocks sorted (blocks.h), which the blob's inline question reads.
// Moved triangles are left to cell_chains.h.
//
// How it forgets: when a static triangle is filed in an area or leaves it,
// everything remembered about the area's cells is wiped at once. Lists and
// sorted pixels fill stores of fixed size, taken once; when either is full
// both are emptied and a new era begins, and whatever was remembered in an
// older era is made again when next asked about. See docs/terrain-index.md.
#pragma once

#include <cstdint>
#include <vector>

#include "level/index/blocks.h"
#include "level/index/cell_chains.h"
#include "level/index/geometry.h"

namespace terrain_index {

class cell_memory {
 public:
  cell_memory() = default;
  ~cell_memory() { give_back(); }
  cell_memory(const cell_memory&) = delete;
  cell_memory& operator=(const cell_memory&) = delete;

  // Takes the tables and stores with the index's first triangle, while a
  // level loads, so that questions asked during play never allocate;
  // untouched, the tables' zeroed pages cost no memory.
  void take();
  void give_back();

  // Forgets everything remembered, keeping the tables and stores taken: the
  // next level then takes none of them again. Reserving the stores (tens of
  // megabytes) and faulting in the tables' pages anew cost far more than the
  // questions of a small level. The memos are left to the new era; only the
  // blocks, which the inline question reads without asking, are wiped.
  void forget_all();

  // A static triangle with this box was filed, or left.
  void forget(const grid_box& box);

  // Whether a static triangle holds the point, from what is remembered about
  // its cell. `walk` is given by the walk out of terrain, which has already
  // looked for a filled cell holding the point; when the cell turns out to
  // be filled, it becomes the largest cell around the point known to be.
  // Questions from blobs have the cells they keep asking about sorted.
  bool static_holds(int x, int y, world_box* walk);

  // The sorted blocks, by memory_slot; null before take().
  const cell_blocks* blocks() const { return blocks_; }
  // The pixels of a mixed block (its bit in the cell) of a sorted cell, or
  // null when they are gone with an older era or were never sorted.
  const block_pixels* mixed_pixels(const cell_blocks& cell, std::uint64_t bit) const {
    if (cell.unsortable || cell.era != era_) return nullptr;
    return pixels_ + cell.pixels + mixed_rank(cell, bit);
  }

  // The chains it makes lists from; set once.
  void read_from(const cell_chains* chains) { chains_ = chains; }

 private:
  struct memo {
    std::uint32_t era;     // 0: nothing remembered
    std::uint32_t filler;  // slot + 1 of a static triangle, solid when made, filling the cell; or 0
    std::uint32_t first;   // where the list starts in the store, or NO_LIST before it is made
    std::uint32_t count : 24;  // at most LIST_STORE
    std::uint32_t asks : 7;    // questions answered from the list, up to SORT_AFTER
    std::uint32_t sorted : 1;  // the cell's blocks have been sorted since the memo was made
  };
  static constexpr std::uint32_t NO_LIST = 0xFFFFFFFF;

  memo* memo_at(std::uint32_t gx, std::uint32_t gy);
  const primitive* filler_at(int x, int y, std::uint32_t gx, std::uint32_t gy, bool walk) const;
  bool make_list(memo& m, std::uint32_t gx, std::uint32_t gy);
  bool filled_by_solid(const memo& m) const;
  void hold_by_filler(memo& m, std::uint32_t gx, std::uint32_t gy, world_box* walk, bool for_blobs);
  void group_shapes(std::size_t first);
  shape_list list_of(const memo& m) const;
  void set_blocks(std::uint32_t gx, std::uint32_t gy, const cell_blocks& b);
  bool sort_blocks_of(memo& m, std::uint32_t gx, std::uint32_t gy);
  bool blocks_current(const memo& m, std::uint32_t gx, std::uint32_t gy) const;
  void walk_box(world_box* walk, std::uint32_t gx, std::uint32_t gy, const primitive& filler) const;
  void begin_new_era();
  void wipe_area(std::uint32_t area);

  const cell_chains* chains_ = nullptr;
  memo* memos_ = nullptr;          // by memory_slot
  cell_blocks* blocks_ = nullptr;  // by memory_slot
  block_pixels* pixels_ = nullptr;
  std::uint32_t pixels_used_ = 0;
  std::uint32_t era_ = 1;
  bool remembered_[AREAS] = {};  // a memo or blocks were made in the area since it was wiped
  bool has_blocks_[AREAS] = {};  // blocks were set in the area since it was wiped
  std::vector<const primitive*> lists_;
  std::vector<std::uint32_t> same_shape_;  // see shape_list
  // Room for a whole store's list with each triangle's corners beside it:
  // sorting them there reads each record once, not at every comparison.
  struct shaped {
    corners at;
    const primitive* p;
  };
  std::vector<shaped> sorting_;
};

}  // namespace terrain_index
