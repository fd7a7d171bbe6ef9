#include "level/index/cell_chains.h"

#include <algorithm>

#include "level/index/zeroed_pages.h"
#include "level/terrain.h"

namespace terrain_index {
namespace {
// A static triangle wider and taller than a fine cell is broken down like a
// quadtree: a cell it fills gets a filled entry, a cell its box misses none,
// any other cell is split into quarters, down to this many levels below its
// size level (16 times narrower), where it gets a crossing entry.
constexpr int SPLIT_DEPTH = 4;

std::size_t cell_count(int level) {
  return static_cast<std::size_t>(cells_per_side(level)) * cells_per_side(level);
}

bool worth_splitting(const corners& c, const grid_box& b) {
  constexpr std::uint32_t FINE = (1u << FINE_SHIFT) - 1;
  return b.x1 - b.x0 >= FINE && b.y1 - b.y0 >= FINE && exact_everywhere(c);
}

template <typename Place>
void split(const filed& f, int level, std::uint32_t cx, std::uint32_t cy, Place& place) {
  if (!box_meets_cell(f.box, level, cx, cy)) return;
  if (fills(f.at, level, cx, cy)) {
    place(FILLED, level, cx, cy);
  } else if (level == std::max(0, f.level - SPLIT_DEPTH)) {
    place(CROSSING, level, cx, cy);
  } else {
    for (std::uint32_t dy = 0; dy < 2; ++dy)
      for (std::uint32_t dx = 0; dx < 2; ++dx) split(f, level - 1, 2 * cx + dx, 2 * cy + dy, place);
  }
}

// Calls place(chain, level, cx, cy) for every cell the triangle has an
// entry in. The same record gives the same cells, so unfiling retraces
// filing exactly.
template <typename Place>
void for_entries(const filed& f, Place place) {
  chain plain = f.mobile ? MOBILE : CROSSING;
  for_cells(f.box, f.level, [&](std::uint32_t cx, std::uint32_t cy) {
    if (f.split)
      split(f, f.level, cx, cy, place);
    else
      place(plain, f.level, cx, cy);
  });
}
}  // namespace

cell_chains::cell_chains()
    : entry_triangle_{nullptr}, entry_next_{0}, entry_previous_{0}, entry_after_{0} {}

cell_chains::~cell_chains() { give_back(); }

void cell_chains::add(primitive* p) {
  records_.push_back({p, {}, {}, 0, false, false, 0});
  file(records_.back());
}

bool cell_chains::refile(primitive* p) {
  filed& f = records_[p->order];
  if (f.mobile) {
    corners now = corners_of(*p);
    grid_box box = grid_box_of(world_box_of(now));
    int level = placement_level(box);
    int s = cell_shift(level);
    if (level == f.level && box.x0 >> s == f.box.x0 >> s && box.x1 >> s == f.box.x1 >> s &&
        box.y0 >> s == f.box.y0 >> s && box.y1 >> s == f.box.y1 >> s) {
      f.at = now;
      f.box = box;
      for_cells(box, level, [&](std::uint32_t cx, std::uint32_t cy) {
        reach(level, cx, cy).widen(world_box_of(now));
      });
      return false;
    }
  }
  bool was_static = !f.mobile;
  unfile(f);
  f.mobile = true;
  file(f);
  return was_static;
}

// Each triangle's record still says which cells it has entries in (the
// triangles themselves may be freed already). A moved triangle's reach is
// left as it is: a cell's reach is set afresh when its first entry comes.
void cell_chains::clear() {
  for (const filed& f : records_)
    for_entries(f, [this](chain c, int level, std::uint32_t cx, std::uint32_t cy) {
      head(c, level, cx, cy) = 0;
    });
  std::fill(std::begin(used_), std::end(used_), 0u);
  std::fill(std::begin(moved_per_area_), std::end(moved_per_area_), 0u);
  records_.clear();
  for (auto* v : {&entry_next_, &entry_previous_, &entry_after_}) v->resize(1);
  entry_triangle_.resize(1);
  free_entries_ = 0;
}

void cell_chains::give_back() {
  clear();
  for (int level = 0; level < LEVELS; ++level) {
    for (std::uint32_t*& heads : heads_[level]) {
      give_back_table(heads, cell_count(level));
      heads = nullptr;
    }
    give_back_table(reaches_[level], cell_count(level));
    reaches_[level] = nullptr;
  }
}

// The filled chains are read coarsest first: a coarse cell is the likeliest
// to be filled, and the largest is wanted.
filled_cell cell_chains::largest_filled_cell(std::uint32_t gx, std::uint32_t gy) const {
  filled_cell found{0, nullptr};
  any_at(FILLED, gx, gy, COARSEST_FIRST, [&found](int level, const primitive* p) {
    if (p->solid) found = {level, p};
    return p->solid;
  });
  return found;
}

bool cell_chains::static_holds(chain c, int x, int y) const {
  return any_at(c, grid_coord(x), grid_coord(y), FINEST_FIRST,
                [x, y](int, const primitive* p) { return holds(*p, x, y); });
}

// Each level's cell gets the reach of its moved triangles whenever every one
// of them has been looked at.
bool cell_chains::mobile_holds(int x, int y) {
  std::uint32_t gx = grid_coord(x), gy = grid_coord(y);
  for (unsigned m = used_[MOBILE]; m != 0; m &= m - 1) {
    int level = __builtin_ctz(m);
    std::uint32_t e = first_at(MOBILE, level, gx, gy);
    std::uint32_t cx = gx >> cell_shift(level), cy = gy >> cell_shift(level);
    if (e == 0 || !reach(level, cx, cy).holds(x, y)) continue;
    world_box seen = world_box_of(records_[entry_triangle_[e]->order].at);
    for (; e != 0; e = entry_next_[e]) {
      const primitive& p = *entry_triangle_[e];
      assert(filed_as_now(p) && "corners change only through moveTriangle");
      if (holds(p, x, y)) return true;
      seen.widen(world_box_of(records_[p.order].at));
    }
    reach(level, cx, cy) = seen;
  }
  return false;
}

void cell_chains::file(filed& f) {
  f.at = corners_of(*f.p);
  f.box = grid_box_of(world_box_of(f.at));
  f.split = !f.mobile && worth_splitting(f.at, f.box);
  f.level = f.split ? size_level(f.box) : placement_level(f.box);
  std::uint32_t last = 0;
  f.first_entry = 0;
  for_entries(f, [&](chain c, int level, std::uint32_t cx, std::uint32_t cy) {
    last = link(c, level, cx, cy, f, last);
    if (f.first_entry == 0) f.first_entry = last;
  });
  // Room for every triangle to be moved, which refiles it with at most 16
  // entries: moving crates then never allocates.
  std::size_t needed = entry_triangle_.size() + MAX_PLACEMENT_CELLS * records_.size();
  if (entry_triangle_.capacity() < needed) {
    std::size_t room = std::max(needed, 2 * entry_triangle_.capacity());
    for (auto* v : {&entry_next_, &entry_previous_, &entry_after_}) v->reserve(room);
    entry_triangle_.reserve(room);
  }
}

// Retraces filing, entry by entry: each is unlinked where it was linked.
void cell_chains::unfile(const filed& f) {
  std::uint32_t e = f.first_entry;
  for_entries(f, [&](chain c, int level, std::uint32_t cx, std::uint32_t cy) {
    assert(entry_triangle_[e] == f.p && "a triangle's entries are chained in filing order");
    std::uint32_t next = entry_after_[e];
    unlink(c, level, cx, cy, e);
    e = next;
  });
}

std::uint32_t& cell_chains::head(chain c, int level, std::uint32_t cx, std::uint32_t cy) {
  std::uint32_t*& heads = heads_[level][c];
  if (!heads) heads = take_zeroed_table<std::uint32_t>(cell_count(level));
  return heads[cy * cells_per_side(level) + cx];
}

world_box& cell_chains::reach(int level, std::uint32_t cx, std::uint32_t cy) {
  world_box*& reaches = reaches_[level];
  if (!reaches) reaches = take_zeroed_table<world_box>(cell_count(level));
  return reaches[cy * cells_per_side(level) + cx];
}

std::uint32_t cell_chains::link(chain c, int level, std::uint32_t cx, std::uint32_t cy, filed& f,
                                std::uint32_t after) {
  std::uint32_t e = free_entries_;
  if (e != 0) {
    free_entries_ = entry_next_[e];
  } else {
    e = static_cast<std::uint32_t>(entry_triangle_.size());
    entry_triangle_.push_back(nullptr);
    for (auto* v : {&entry_next_, &entry_previous_, &entry_after_}) v->push_back(0);
  }
  std::uint32_t& first = head(c, level, cx, cy);
  if (c == MOBILE) {
    if (first == 0)
      reach(level, cx, cy) = world_box_of(f.at);
    else
      reach(level, cx, cy).widen(world_box_of(f.at));
    count_moved(level, cx, cy, 1);
  }
  entry_triangle_[e] = f.p;
  entry_next_[e] = first;
  entry_previous_[e] = 0;
  entry_after_[e] = 0;
  if (first != 0) entry_previous_[first] = e;
  first = e;
  if (after != 0) entry_after_[after] = e;
  used_[c] |= 1u << level;
  return e;
}

void cell_chains::unlink(chain c, int level, std::uint32_t cx, std::uint32_t cy, std::uint32_t e) {
  std::uint32_t previous = entry_previous_[e], next = entry_next_[e];
  if (previous != 0) {
    entry_next_[previous] = next;
  } else {
    assert(head(c, level, cx, cy) == e && "an entry is unlinked from the cell it was linked in");
    head(c, level, cx, cy) = next;
  }
  if (next != 0) entry_previous_[next] = previous;
  if (c == MOBILE) count_moved(level, cx, cy, -1);
  entry_triangle_[e] = nullptr;
  entry_next_[e] = free_entries_;
  free_entries_ = e;
}

// Counts a moved triangle's entry in every area its cell meets.
void cell_chains::count_moved(int level, std::uint32_t cx, std::uint32_t cy, int by) {
  int s = cell_shift(level);
  std::uint32_t x0 = cx << s, y0 = cy << s, x1 = ((cx + 1) << s) - 1, y1 = ((cy + 1) << s) - 1;
  for (std::uint32_t ay = y0 >> AREA_SHIFT; ay <= y1 >> AREA_SHIFT; ++ay)
    for (std::uint32_t ax = x0 >> AREA_SHIFT; ax <= x1 >> AREA_SHIFT; ++ax)
      moved_per_area_[(ay << AREAS_SHIFT) | ax] += static_cast<std::uint32_t>(by);
}

// A triangle whose corners changed without moveTriangle would be filed
// where it no longer is.
bool cell_chains::filed_as_now(const primitive& p) const {
  return p.refile_due || records_[p.order].at == corners_of(p);
}

}  // namespace terrain_index
