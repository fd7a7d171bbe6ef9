#include "level/index/cell_memory.h"

#include <algorithm>

#include "level/index/zeroed_pages.h"
#include "level/terrain.h"

namespace terrain_index {
namespace {
// A cell's blocks are sorted once its list has answered this many questions
// there: cells a blob rests in are asked thousands of times, and cells only
// passed through are not worth the work.
constexpr std::uint32_t SORT_AFTER = 16;
constexpr std::size_t LIST_STORE = std::size_t{1} << 20;  // triangles
static_assert(LIST_STORE < 1u << 24, "a memo's count has 24 bits");
// Room for the mixed blocks of some 10,000 cells.
constexpr std::uint32_t PIXEL_STORE = 1u << 18;
constexpr std::uint32_t BLOCKS = 64;
constexpr std::uint32_t LAST_ERA = (1u << 31) - 1;  // a cell_blocks' era has 31 bits

// The filled chains of the cells holding the point; the walk out of terrain
// has looked at them already.
const primitive* filled_at(const cell_chains& chains, std::uint32_t gx, std::uint32_t gy,
                           bool walk) {
  return walk ? nullptr : chains.largest_filled_cell(gx, gy).filler;
}
}  // namespace

void cell_memory::take() {
  if (memos_) return;
  memos_ = take_zeroed_table<memo>(MEMORY_CELLS);
  blocks_ = take_zeroed_table<cell_blocks>(MEMORY_CELLS);
  pixels_ = take_zeroed_table<block_pixels>(PIXEL_STORE);
  lists_.reserve(LIST_STORE);
  same_shape_.reserve(LIST_STORE);
  sorting_.reserve(LIST_STORE);
}

void cell_memory::give_back() {
  give_back_table(memos_, MEMORY_CELLS);
  give_back_table(blocks_, MEMORY_CELLS);
  give_back_table(pixels_, PIXEL_STORE);
  memos_ = nullptr;
  blocks_ = nullptr;
  pixels_ = nullptr;
  pixels_used_ = 0;
  std::fill(std::begin(remembered_), std::end(remembered_), false);
  std::fill(std::begin(has_blocks_), std::end(has_blocks_), false);
  std::vector<const primitive*>().swap(lists_);
  std::vector<std::uint32_t>().swap(same_shape_);
  std::vector<shaped>().swap(sorting_);
  begin_new_era();
}

void cell_memory::forget_all() {
  if (!memos_) return;
  for (std::uint32_t area = 0; area < AREAS; ++area)
    if (has_blocks_[area])
      std::fill_n(blocks_ + first_slot_of_area(area), TILE_CELLS, cell_blocks{});
  std::fill(std::begin(remembered_), std::end(remembered_), false);
  std::fill(std::begin(has_blocks_), std::end(has_blocks_), false);
  begin_new_era();
}

// The blob's inline question reads the blocks without asking whether they
// are still good, so they are wiped at once, with the memos beside them.
void cell_memory::forget(const grid_box& box) {
  for_cells(box, AREA_SHIFT - FINE_SHIFT,
            [this](std::uint32_t ax, std::uint32_t ay) { wipe_area((ay << AREAS_SHIFT) | ax); });
}

// An area's cells are one tile, one run of each table.
void cell_memory::wipe_area(std::uint32_t area) {
  if (!remembered_[area]) return;
  remembered_[area] = false;
  has_blocks_[area] = false;
  std::size_t first = first_slot_of_area(area);
  std::fill_n(memos_ + first, TILE_CELLS, memo{});
  std::fill_n(blocks_ + first, TILE_CELLS, cell_blocks{});
}

bool cell_memory::static_holds(int x, int y, world_box* walk) {
  std::uint32_t gx = grid_coord(x), gy = grid_coord(y);
  memo* m = memo_at(gx, gy);
  if (!m)
    return filled_at(*chains_, gx, gy, walk != nullptr) || chains_->static_holds(CROSSING, x, y);
  remembered_[area_of(gx, gy)] = true;
  if (m->era != era_) {
    const primitive* filler = filler_at(x, y, gx, gy, walk != nullptr);
    *m = {era_, filler ? filler->order + 1 : 0, NO_LIST, 0, 0, 0};
  }
  // The walk out of terrain passes through thousands of cells and never
  // reads the blocks, which are for the cells blobs live in: it leaves them
  // alone, which spares their memory too.
  bool for_blobs = walk == nullptr;
  if (m->first == NO_LIST && !filled_by_solid(*m)) {
    m->filler = 0;
    if (!make_list(*m, gx, gy)) {
      m->era = 0;
      return chains_->static_holds(CROSSING, x, y) || chains_->static_holds(FILLED, x, y);
    }
  }
  if (filled_by_solid(*m)) {
    hold_by_filler(*m, gx, gy, walk, for_blobs);
    return true;
  }
  // Sorting may fill the store of pixels and begin a new era, taking the
  // list along: the question is then asked again.
  if (for_blobs && !blocks_current(*m, gx, gy) && ++m->asks == SORT_AFTER &&
      !sort_blocks_of(*m, gx, gy))
    return static_holds(x, y, walk);
  shape_list list = list_of(*m);
  bool held = false;
  list.for_shapes([&](std::uint32_t k) {
    if (!held && shape_holds(*list.triangles[k], x, y)) held = list.solid_of_shape(k) != nullptr;
  });
  return held;
}

bool cell_memory::filled_by_solid(const memo& m) const {
  return m.filler && chains_->triangle(m.filler - 1).solid;
}

// A cell filled by a solid triangle holds every point: its blocks say so
// at once from now on, and a walk may cross the filler's cells in one go.
void cell_memory::hold_by_filler(memo& m, std::uint32_t gx, std::uint32_t gy, world_box* walk,
                                 bool for_blobs) {
  const primitive& filler = chains_->triangle(m.filler - 1);
  if (for_blobs && !m.sorted) {
    set_blocks(gx, gy, filled_by(filler));
    m.sorted = 1;
  }
  walk_box(walk, gx, gy, filler);
}

// The memo of the fine cell holding the grid point, or null outside the
// remembered range.
cell_memory::memo* cell_memory::memo_at(std::uint32_t gx, std::uint32_t gy) {
  std::uint32_t qx = gx - MEMORY_LOW, qy = gy - MEMORY_LOW;  // wraps far above the range below it
  return in_memory(qx, qy) ? &memos_[memory_slot(qx, qy)] : nullptr;
}

// A solid static triangle that fills the fine cell: the largest filled cell
// holding the point, or a split triangle crossing the point's cells that
// holds it and fills the fine cell. Most cells deep in large overlapping
// triangles have one, and finding it spares making the cell's list.
const primitive* cell_memory::filler_at(int x, int y, std::uint32_t gx, std::uint32_t gy,
                                        bool walk) const {
  if (const primitive* filler = filled_at(*chains_, gx, gy, walk)) return filler;
  const primitive* found = nullptr;
  chains_->any_at(CROSSING, gx, gy, cell_chains::FINEST_FIRST, [&](int, const primitive* p) {
    const filed& f = chains_->record(p);
    if (f.split && holds(*p, x, y) && fills(f.at, 0, gx >> FINE_SHIFT, gy >> FINE_SHIFT)) found = p;
    return found != nullptr;
  });
  return found;
}

// Every static triangle that touches the fine cell is in the chains of the
// cells holding it, one cell per level; a solid one that fills the cell
// becomes its filler. False when the list alone would overfill the store.
bool cell_memory::make_list(memo& m, std::uint32_t gx, std::uint32_t gy) {
  std::uint32_t cx = gx >> FINE_SHIFT, cy = gy >> FINE_SHIFT;
  world_box cell = cell_pixels(0, gx, gy);
  std::size_t first = lists_.size();
  bool overfull = false;
  for (chain c : {FILLED, CROSSING})
    chains_->any_at(c, gx, gy, cell_chains::FINEST_FIRST, [&](int, const primitive* p) {
      const filed& f = chains_->record(p);
      if (c == CROSSING && !touches_square(f.at, cell.left, cell.top, cell.right, cell.bottom))
        return false;
      overfull = lists_.size() == LIST_STORE;
      if (overfull) return true;
      lists_.push_back(p);
      same_shape_.push_back(1);
      if (m.filler == 0 && p->solid && (c == FILLED || (f.split && fills(f.at, 0, cx, cy))))
        m.filler = p->order + 1;
      return false;
    });
  if (overfull) {  // the store is full: a new era, and the list made again in it
    if (first == 0) return false;
    begin_new_era();
    m = {era_, 0, NO_LIST, 0, 0, 0};
    return make_list(m, gx, gy);
  }
  group_shapes(first);
  m.first = static_cast<std::uint32_t>(first);
  m.count = static_cast<std::uint32_t>(lists_.size() - first);
  m.asks = 0;
  m.sorted = 0;
  return true;
}

// Grouped without allocating, so that making a list never does. A list of
// a few shapes in many copies (crates stacked at one place, one huge
// triangle ten thousand times) is grouped in one pass; any other is sorted.
void cell_memory::group_shapes(std::size_t first) {
  constexpr int FEW = 8;
  corners few[FEW] = {};
  std::uint32_t copies[FEW] = {};
  int shapes = 0;  // FEW + 1: too many to count
  sorting_.clear();
  for (std::size_t k = first; k < lists_.size(); ++k) {
    const corners& at = chains_->record(lists_[k]).at;
    sorting_.push_back({at, lists_[k]});
    if (shapes > FEW) continue;
    int s = 0;
    while (s < shapes && !(few[s] == at)) ++s;
    if (s == FEW) {
      shapes = FEW + 1;
      continue;
    }
    if (s == shapes) few[shapes++] = at;
    ++copies[s];
  }
  if (shapes > FEW) {
    std::sort(sorting_.begin(), sorting_.end(),
              [](const shaped& a, const shaped& b) { return a.at < b.at; });
    for (std::size_t k = 0; k < sorting_.size(); ++k) lists_[first + k] = sorting_[k].p;
    for (std::size_t k = sorting_.size(); k-- > 1;)
      if (sorting_[k].at == sorting_[k - 1].at)
        same_shape_[first + k - 1] = same_shape_[first + k] + 1;
    return;
  }
  std::size_t next[FEW] = {};
  for (int s = 0, at = 0; s < shapes; at += static_cast<int>(copies[s]), ++s) {
    next[s] = first + static_cast<std::size_t>(at);
    for (std::uint32_t i = 0; i < copies[s]; ++i) same_shape_[next[s] + i] = copies[s] - i;
  }
  for (const shaped& entry : sorting_) {
    int s = 0;
    while (!(few[s] == entry.at)) ++s;
    lists_[next[s]++] = entry.p;
  }
}

shape_list cell_memory::list_of(const memo& m) const {
  return {lists_.data() + m.first, same_shape_.data() + m.first, m.count};
}

void cell_memory::set_blocks(std::uint32_t gx, std::uint32_t gy, const cell_blocks& b) {
  has_blocks_[area_of(gx, gy)] = true;
  blocks_[memory_slot(gx - MEMORY_LOW, gy - MEMORY_LOW)] = b;
}

bool cell_memory::sort_blocks_of(memo& m, std::uint32_t gx, std::uint32_t gy) {
  if (pixels_used_ > PIXEL_STORE - BLOCKS) {
    begin_new_era();
    return false;
  }
  world_box cell = cell_pixels(0, gx, gy);
  cell_blocks b;
  std::uint32_t written = sort_blocks(list_of(m), cell.left, cell.top, b, pixels_ + pixels_used_);
  b.pixels = pixels_used_;
  b.era = era_;
  pixels_used_ += written;
  set_blocks(gx, gy, b);
  m.sorted = 1;
  m.asks = 0;
  return true;
}

// Whether what was sorted for the cell is all still there: the pixels of
// its mixed blocks may have gone with an older era.
bool cell_memory::blocks_current(const memo& m, std::uint32_t gx, std::uint32_t gy) const {
  if (!m.sorted) return false;
  const cell_blocks& b = blocks_[memory_slot(gx - MEMORY_LOW, gy - MEMORY_LOW)];
  return b.unsortable || (b.empty | b.full) == ~std::uint64_t{0} || b.era == era_;
}

// The largest cell around the point that the filler is known to fill: near
// the edges of thousands of overlapping triangles, where cells are only
// crossed, the cells that the filler itself fills around the point still
// spare the walk a question for each fine cell it crosses. Only a split
// triangle's corners are small enough for the exact test.
void cell_memory::walk_box(world_box* walk, std::uint32_t gx, std::uint32_t gy,
                           const primitive& filler) const {
  if (!walk) return;
  const filed& f = chains_->record(&filler);
  int level = 0;
  while (f.split && level + 1 < LEVELS &&
         fills(f.at, level + 1, gx >> cell_shift(level + 1), gy >> cell_shift(level + 1)))
    ++level;
  *walk = cell_pixels(level, gx, gy);
}

// Era 0 marks a memo never made, so the count skips it when it wraps; and
// as memos and blocks of older eras stay in the tables, a wrap wipes them
// all, lest one made 2^31 eras ago pass for new.
void cell_memory::begin_new_era() {
  lists_.clear();
  same_shape_.clear();
  pixels_used_ = 0;
  if (era_ == LAST_ERA && memos_) {
    std::fill_n(memos_, MEMORY_CELLS, memo{});
    std::fill_n(blocks_, MEMORY_CELLS, cell_blocks{});
  }
  era_ = era_ == LAST_ERA ? 1 : era_ + 1;
}

}  // namespace terrain_index
