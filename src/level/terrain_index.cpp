#include "level/terrain_index.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstdlib>

#include "level/terrain.h"
#include "level/terrain_cells.h"
#include "level/terrain_quick.h"
#include "level/zeroed_pages.h"

namespace terrain_index {
namespace {
using namespace terrain_cells;

// A static triangle wider and taller than a fine cell is broken down like a
// quadtree: a cell it fills gets a filled entry, a cell its box misses none,
// any other cell is split into quarters, down to this many levels below its
// size level (16 times narrower), where it gets a crossing entry.
constexpr int SPLIT_DEPTH = 4;
// Most entries a triangle that is not split can have: its placement level.
constexpr std::size_t MAX_UNSPLIT_ENTRIES = 16;

// What is remembered about each fine cell of the range a level file holds,
// made the first time a point of the cell is asked about: a static solid
// triangle that fills the cell, if there is one, and else the static
// triangles that touch it. It stays true while the change count of the
// cell's area and the era of the list store are those it was made in.
constexpr int MEMO_SIDE_SHIFT = QUICK_SIDE_SHIFT;           // 1,024 cells over 65,536 pixels
constexpr std::uint32_t MEMO_LOW = 1u << (GRID_SHIFT - 2);  // grid x of world -32,768
constexpr std::size_t MEMO_CELLS = QUICK_CELLS;
constexpr std::uint32_t NO_LIST = 0xFFFFFFFF;
static_assert(QUICK_CELL_SHIFT == FINE_SHIFT &&
                  ORIGIN + static_cast<int>(MEMO_LOW) == -QUICK_HALF &&
                  (QUICK_HALF << 1) == 1 << (MEMO_SIDE_SHIFT + FINE_SHIFT),
              "the memo cells are the quick layer's cells");
struct cell_memo {
  std::uint32_t era;     // 0: nothing remembered
  std::uint32_t stamp;   // the area's change count when made
  std::uint32_t filler;  // slot + 1 of a static triangle, solid when made, filling the cell; or 0
  std::uint32_t first;   // where the list starts in the store, or NO_LIST before it is made
  std::uint32_t count : 24;         // at most LIST_STORE
  std::uint32_t asks : 7;           // questions answered from the list, up to SORT_AFTER
  std::uint32_t blocks_sorted : 1;  // the quick layer has the cell's blocks since it was made
};
// A cell's blocks are sorted once the list has answered this many
// questions there: cells a blob rests in are asked thousands of times, and
// cells only passed through are not worth the work.
constexpr std::uint32_t SORT_AFTER = 16;
// Lists share one store of fixed size, taken once; when it is full it is
// emptied and a new era begins, which forgets every memo at once.
constexpr std::size_t LIST_STORE = 1 << 20;
static_assert(LIST_STORE < 1u << 24, "a memo's count has 24 bits");

// Change counts of 2,048-pixel areas, raised when a static triangle is filed
// in one or leaves it. A count wraps after 2^32 changes to one area, which a
// level never makes.
constexpr int CHANGE_LEVEL = 5;
constexpr std::uint32_t CHANGE_AREAS = 1u << (GRID_SHIFT - FINE_SHIFT - CHANGE_LEVEL);
static_assert(cell_shift(CHANGE_LEVEL) == AREA_SHIFT && CHANGE_AREAS == 1u << AREAS_SHIFT &&
                  static_cast<std::uint32_t>(-QUICK_HALF - ORIGIN) == FIRST_QUICK_AREA
                                                                          << AREA_SHIFT,
              "the quick layer's areas are the change areas");

struct filed {
  primitive* p;
  corners at;  // corners when filed
  grid_box box;
  int level;
  bool split;   // broken down into the cells it fills and crosses
  bool mobile;  // moved since it was made: filed apart from the static terrain
  std::uint32_t first_entry;  // its entries follow each other in for_entries' order
};

// Everything the index holds. It lives at namespace scope, built before
// main, so that freeCollisions, run by atexit, still finds it.
struct index_state {
  cell_chains cells;
  std::vector<filed> records;       // by slot, which is the place in the list
  std::vector<std::uint32_t> seen;  // per slot: the last gathering round it was seen in
  std::vector<primitive*> moved;    // to be filed again, each once; room for every triangle
  std::uint32_t round = 0;
  cell_memo* memos = nullptr;  // taken zeroed with the first triangle
  std::vector<const primitive*> lists;
  // Per list entry: how many entries from it on share its corners. Lists
  // are sorted so that triangles with the same corners sit together, and a
  // point is tested once per shape: a file may hold one huge triangle ten
  // thousand times.
  std::vector<std::uint32_t> same_shape;
  // Room for a whole store's list with each triangle's corners beside it:
  // sorting them there reads each record once, not at every comparison.
  struct shaped {
    corners at;
    const primitive* p;
  };
  std::vector<shaped> sorting;
  std::uint32_t era = 1;
  std::uint32_t changes[CHANGE_AREAS * CHANGE_AREAS] = {};
};

index_state index;

// Era 0 marks a memo never made, so the count skips it when it wraps.
void begin_new_era() {
  if (++index.era == 0) index.era = 1;
}

bool worth_splitting(const corners& c, const grid_box& b) {
  constexpr std::uint32_t FINE = (1u << FINE_SHIFT) - 1;
  if (b.x1 - b.x0 < FINE || b.y1 - b.y0 < FINE) return false;
  for (int k = 0; k < 3; ++k)
    if (std::abs(static_cast<std::int64_t>(c.x[k])) > EXACT_LIMIT ||
        std::abs(static_cast<std::int64_t>(c.y[k])) > EXACT_LIMIT)
      return false;
  return true;
}

void note_change(const grid_box& b) {
  for_cells(b, CHANGE_LEVEL, [](std::uint32_t cx, std::uint32_t cy) {
    ++index.changes[cy * CHANGE_AREAS + cx];
    quick_tables::forget_area(cx, cy);
  });
}

// Counts a moved triangle's entry in every change area its cell meets.
void count_mobile_entry(int level, std::uint32_t cx, std::uint32_t cy, int by) {
  int s = cell_shift(level), a = cell_shift(CHANGE_LEVEL);
  quick_tables::count_mobile_entry((cx << s) >> a, (cy << s) >> a, (((cx + 1) << s) - 1) >> a,
                                   (((cy + 1) << s) - 1) >> a, by);
}

std::uint32_t change_count(std::uint32_t gx, std::uint32_t gy) {
  int s = cell_shift(CHANGE_LEVEL);
  return index.changes[(gy >> s) * CHANGE_AREAS + (gx >> s)];
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

void file(filed& f) {
  f.at = corners_of(*f.p);
  f.box = box_of(f.at);
  f.split = !f.mobile && worth_splitting(f.at, f.box);
  f.level = f.split ? size_level(f.box) : placement_level(f.box);
  std::uint32_t last = 0;
  f.first_entry = 0;
  for_entries(f, [&f, &last](chain c, int level, std::uint32_t cx, std::uint32_t cy) {
    last = index.cells.link(c, level, cx, cy, f.p, last);
    if (f.first_entry == 0) f.first_entry = last;
    if (c == MOBILE) count_mobile_entry(level, cx, cy, 1);
  });
  if (!f.mobile) note_change(f.box);
  // Room for every triangle to be moved, which refiles it with at most 16
  // entries: moving crates then never allocates.
  index.cells.keep_room(MAX_UNSPLIT_ENTRIES * index.records.size());
}

// Retraces filing, entry by entry: each is unlinked where it was linked.
void unfile(const filed& f) {
  std::uint32_t e = f.first_entry;
  for_entries(f, [&](chain c, int level, std::uint32_t cx, std::uint32_t cy) {
    assert(index.cells.triangle(e) == f.p && "a triangle's entries are chained in filing order");
    std::uint32_t next = index.cells.after(e);
    index.cells.unlink(c, level, cx, cy, e);
    e = next;
    if (c == MOBILE) count_mobile_entry(level, cx, cy, -1);
  });
  if (!f.mobile) note_change(f.box);
}

filed& record_of(const primitive* p) {
  assert(p->order < index.records.size() && index.records[p->order].p == p &&
         "only triangles made by addVertex, and not yet freed, can be moved");
  return index.records[p->order];
}

// The largest cell holding the grid point that a solid static triangle
// fills: its level and the triangle's slot + 1, or a filler of 0 when there
// is none. Coarsest level first, the likeliest to be filled.
struct filled_cell {
  int level;
  std::uint32_t filler;
};
filled_cell largest_filled_cell(std::uint32_t gx, std::uint32_t gy) {
  for (unsigned m = index.cells.used_levels(FILLED); m != 0;) {
    int level = 31 - __builtin_clz(m);
    m &= ~(1u << level);
    for (std::uint32_t e = index.cells.first_at(FILLED, level, gx, gy); e != 0;
         e = index.cells.next(e))
      if (index.cells.triangle(e)->solid) return {level, index.cells.triangle(e)->order + 1};
  }
  return {0, 0};
}

// A solid triangle crossing the point's cells that holds the point and fills
// its whole fine cell, or 0. Most cells deep in large overlapping triangles
// have one, and finding it spares making the cell's list.
std::uint32_t crossing_filler_at(int x, int y, std::uint32_t gx, std::uint32_t gy) {
  for (unsigned m = index.cells.used_levels(CROSSING); m != 0; m &= m - 1) {
    int level = __builtin_ctz(m);
    for (std::uint32_t e = index.cells.first_at(CROSSING, level, gx, gy); e != 0;
         e = index.cells.next(e)) {
      const primitive* p = index.cells.triangle(e);
      const filed& f = index.records[p->order];
      if (f.split && holds(*p, x, y) && fills(f.at, 0, gx >> FINE_SHIFT, gy >> FINE_SHIFT))
        return p->order + 1;
    }
  }
  return 0;
}

// Whether a moved triangle holds the point. A cell whose every moved
// triangle was looked at gets their reach, for the questions after.
bool mobile_chain_holds(int x, int y, std::uint32_t gx, std::uint32_t gy) {
  for (unsigned m = index.cells.used_levels(MOBILE); m != 0; m &= m - 1) {
    int level = __builtin_ctz(m);
    std::uint32_t e = index.cells.first_at(MOBILE, level, gx, gy);
    std::uint32_t cx = gx >> cell_shift(level), cy = gy >> cell_shift(level);
    if (e == 0 || !index.cells.mobile_reach(level, cx, cy).holds(x, y)) continue;
    world_box reach = world_box_of(*index.cells.triangle(e));
    for (; e != 0; e = index.cells.next(e)) {
      const primitive& p = *index.cells.triangle(e);
      if (holds(p, x, y)) return true;
      reach.widen(world_box_of(p));
    }
    index.cells.set_mobile_reach(level, cx, cy, reach);
  }
  return false;
}

// Whether a triangle of one chain, at any level, holds the point.
bool chain_holds(chain c, int x, int y, std::uint32_t gx, std::uint32_t gy) {
  for (unsigned m = index.cells.used_levels(c); m != 0; m &= m - 1) {
    int level = __builtin_ctz(m);
    for (std::uint32_t e = index.cells.first_at(c, level, gx, gy); e != 0; e = index.cells.next(e))
      if (holds(*index.cells.triangle(e), x, y)) return true;
  }
  return false;
}

// The memo of the fine cell holding the grid point, or null outside the
// memos' range. Zeroed pages cost nothing until touched: a level pays only
// for the cells asked about.
cell_memo* memo_at(std::uint32_t gx, std::uint32_t gy) {
  std::uint32_t qx = gx - MEMO_LOW, qy = gy - MEMO_LOW;  // wraps far above the range when below it
  if (!quick_range(qx, qy)) return nullptr;
  return &index.memos[quick_slot(qx, qy)];
}

// Hands the quick layer what is known about a cell blobs keep asking about.
void note_filled(cell_memo& memo, std::uint32_t gx, std::uint32_t gy) {
  quick_tables::note_filled(gx - MEMO_LOW, gy - MEMO_LOW, *index.records[memo.filler - 1].p);
  memo.blocks_sorted = 1;
}

void sort_blocks_of(cell_memo& memo, std::uint32_t gx, std::uint32_t gy) {
  quick_tables::sort_cell(gx - MEMO_LOW, gy - MEMO_LOW, index.lists.data() + memo.first,
                          index.same_shape.data() + memo.first, memo.count);
  memo.blocks_sorted = 1;
  memo.asks = 0;
}

bool blocks_current(const cell_memo& memo, std::uint32_t gx, std::uint32_t gy) {
  return memo.blocks_sorted && quick_tables::sorted_cell_whole(gx - MEMO_LOW, gy - MEMO_LOW);
}

// The corners of a static triangle, as filed: those of one shape are equal.
const corners& shape_of(const primitive* p) { return index.records[p->order].at; }

// Sorted in place, so that making a list never allocates.
void group_shapes(std::size_t first) {
  auto& keyed = index.sorting;
  keyed.clear();
  for (std::size_t k = first; k < index.lists.size(); ++k)
    keyed.push_back({shape_of(index.lists[k]), index.lists[k]});
  std::sort(keyed.begin(), keyed.end(),
            [](const index_state::shaped& a, const index_state::shaped& b) { return a.at < b.at; });
  for (std::size_t k = 0; k < keyed.size(); ++k) index.lists[first + k] = keyed[k].p;
  for (std::size_t k = keyed.size(); k-- > 1;)
    if (keyed[k].at == keyed[k - 1].at) index.same_shape[first + k - 1] = index.same_shape[first + k] + 1;
}

// Every static triangle that touches the fine cell is in the chains of the
// cells holding it, one cell per level; a solid one that fills the cell
// becomes its filler. False when the list alone would overfill the store.
bool make_list(cell_memo& memo, std::uint32_t gx, std::uint32_t gy) {
  std::uint32_t cx = gx >> FINE_SHIFT, cy = gy >> FINE_SHIFT;
  std::int64_t x0 = ORIGIN + (static_cast<std::int64_t>(cx) << FINE_SHIFT);
  std::int64_t y0 = ORIGIN + (static_cast<std::int64_t>(cy) << FINE_SHIFT);
  std::int64_t x1 = x0 + (1 << FINE_SHIFT) - 1, y1 = y0 + (1 << FINE_SHIFT) - 1;
  std::size_t first = index.lists.size();
  for (chain c : {FILLED, CROSSING})
    for (unsigned m = index.cells.used_levels(c); m != 0; m &= m - 1) {
      int level = __builtin_ctz(m);
      for (std::uint32_t e = index.cells.first_at(c, level, gx, gy); e != 0;
           e = index.cells.next(e)) {
        const primitive* p = index.cells.triangle(e);
        if (c == CROSSING && !touches_square(*p, x0, y0, x1, y1)) continue;
        if (index.lists.size() == LIST_STORE) {  // the store is full: a new era
          if (first == 0) return false;
          index.lists.clear();
          index.same_shape.clear();
          begin_new_era();
          return make_list(memo, gx, gy);
        }
        index.lists.push_back(p);
        index.same_shape.push_back(1);
        const filed& f = index.records[p->order];
        if (memo.filler == 0 && p->solid && (c == FILLED || (f.split && fills(f.at, 0, cx, cy))))
          memo.filler = p->order + 1;
      }
    }
  group_shapes(first);
  memo = {index.era,
          change_count(gx, gy),
          memo.filler,
          static_cast<std::uint32_t>(first),
          static_cast<std::uint32_t>(index.lists.size() - first),
          0,
          0};
  return true;
}

// The pixels of the point's cell at the level.
solid_box cell_box(int level, std::uint32_t gx, std::uint32_t gy) {
  int s = cell_shift(level);
  solid_box box;
  box.left = ORIGIN + static_cast<int>(gx >> s << s);
  box.top = ORIGIN + static_cast<int>(gy >> s << s);
  box.right = box.left + (1 << s) - 1;
  box.bottom = box.top + (1 << s) - 1;
  return box;
}

// The point's fine cell is known to be filled by the solid triangle
// `filler` (slot + 1), and no cell holding it is filed as filled (the walk
// out of terrain looked first). Near the edges of thousands of overlapping
// triangles, where cells are only crossed, the cells that the filler itself
// fills around the point still spare the walk a memo for each fine cell it
// crosses.
void set_solid_box(solid_box* box, std::uint32_t gx, std::uint32_t gy, std::uint32_t filler) {
  if (!box) return;
  const filed& f = index.records[filler - 1];
  int level = 0;
  // Only a split triangle's corners are small enough for the exact test.
  while (f.split && level + 1 < LEVELS &&
         fills(f.at, level + 1, gx >> cell_shift(level + 1), gy >> cell_shift(level + 1)))
    ++level;
  *box = cell_box(level, gx, gy);
}

// The static terrain's answer, from what is remembered about the point's
// fine cell where there is a memo, else from the chains. The walk out of
// terrain (solid_cell given) has already found no filled cell holding the
// point, so the filled chains are not looked through again.
bool static_holds(int x, int y, std::uint32_t gx, std::uint32_t gy, solid_box* solid_cell) {
  bool filled_unknown = solid_cell == nullptr;
  cell_memo* memo = memo_at(gx, gy);
  if (!memo)
    return (filled_unknown && largest_filled_cell(gx, gy).filler != 0) ||
           chain_holds(CROSSING, x, y, gx, gy);
  if (memo->era != index.era || memo->stamp != change_count(gx, gy)) {
    std::uint32_t filler = filled_unknown ? largest_filled_cell(gx, gy).filler : 0;
    if (filler == 0) filler = crossing_filler_at(x, y, gx, gy);
    *memo = {index.era, change_count(gx, gy), filler, NO_LIST, 0, 0, 0};
  }
  // The walk out of terrain (solid_cell given) passes through thousands of
  // cells and never reads the blocks, which are for the cells blobs live
  // in: it leaves them alone, which spares their memory too.
  bool for_blobs = solid_cell == nullptr;
  if (memo->filler != 0 && index.records[memo->filler - 1].p->solid) {
    if (for_blobs && !memo->blocks_sorted) note_filled(*memo, gx, gy);
    set_solid_box(solid_cell, gx, gy, memo->filler);
    return true;
  }
  if (memo->first == NO_LIST) {
    memo->filler = 0;
    if (!make_list(*memo, gx, gy)) {
      memo->era = 0;
      return chain_holds(CROSSING, x, y, gx, gy) || chain_holds(FILLED, x, y, gx, gy);
    }
    if (memo->filler != 0) {
      if (for_blobs) note_filled(*memo, gx, gy);
      set_solid_box(solid_cell, gx, gy, memo->filler);
      return true;
    }
  }
  if (for_blobs && !blocks_current(*memo, gx, gy) && ++memo->asks == SORT_AFTER)
    sort_blocks_of(*memo, gx, gy);
  const primitive* const* list = index.lists.data() + memo->first;
  const std::uint32_t* same = index.same_shape.data() + memo->first;
  for (std::uint32_t k = 0; k < memo->count; k += same[k]) {
    if (!shape_holds(*list[k], x, y)) continue;
    for (std::uint32_t j = k; j < k + same[k]; ++j)
      if (list[j]->solid) return true;
  }
  return false;
}
// The first move takes a triangle out of the static terrain for good; a
// mobile triangle, like a crate's moving a pixel a tick, usually stays in
// its cells and only its corners are noted.
void refile(primitive* p) {
  filed& f = record_of(p);
  if (f.mobile) {
    corners now = corners_of(*p);
    grid_box box = box_of(now);
    int level = placement_level(box);
    int s = cell_shift(level);
    if (level == f.level && box.x0 >> s == f.box.x0 >> s && box.x1 >> s == f.box.x1 >> s &&
        box.y0 >> s == f.box.y0 >> s && box.y1 >> s == f.box.y1 >> s) {
      f.at = now;
      f.box = box;
      world_box reach = world_box_of(*p);
      for_cells(box, level, [level, &reach](std::uint32_t cx, std::uint32_t cy) {
        index.cells.widen_mobile_reach(level, cx, cy, reach);
      });
      return;
    }
  }
  unfile(f);
  f.mobile = true;
  file(f);
}

// Files every triangle moved since the last question at its corners now.
void refile_moved() {
  if (index.moved.empty()) return;
  for (primitive* p : index.moved) {
    p->refile_due = false;
    refile(p);
  }
  index.moved.clear();
  quick_tables::show_blocks();
}
}  // namespace

void add(primitive* p) {
  // The list store, the memos and the quick tables are taken with the first
  // triangle, while a level loads, so that questions asked during play never
  // allocate. The tables are zeroed pages: untouched, they cost no memory.
  if (index.lists.capacity() < LIST_STORE) {
    index.lists.reserve(LIST_STORE);
    index.same_shape.reserve(LIST_STORE);
    index.sorting.reserve(LIST_STORE);
  }
  if (!index.memos) {
    index.memos = take_zeroed_table<cell_memo>(MEMO_CELLS);
    quick_tables::take();
  }
  p->order = static_cast<unsigned>(index.records.size());
  index.records.push_back({p, {}, {}, 0, false, false, 0});
  index.seen.push_back(0);
  if (index.moved.capacity() < index.records.size()) index.moved.reserve(index.records.capacity());
  file(index.records.back());
}

// The inline point test reads the quick tables without asking the index
// first: while a move waits to be filed, they are hidden from it.
void refile_later(primitive* p) {
  record_of(p);
  index.moved.push_back(p);
  quick_tables::hide_blocks();
}

void clear() {
  index.moved.clear();
  index.cells.clear();
  std::vector<filed>().swap(index.records);
  std::vector<std::uint32_t>().swap(index.seen);
  index.round = 0;
  give_back_table(index.memos, MEMO_CELLS);
  index.memos = nullptr;
  quick_tables::give_back();
  std::vector<const primitive*>().swap(index.lists);
  std::vector<std::uint32_t>().swap(index.same_shape);
  std::vector<index_state::shaped>().swap(index.sorting);
  begin_new_era();
}

bool mobile_holds(int x, int y) {
  refile_moved();
  return mobile_chain_holds(x, y, grid_coord(x), grid_coord(y));
}

bool any_solid_at(int x, int y, solid_box* solid_cell) {
  if (index.records.empty()) return false;
  refile_moved();
  std::uint32_t gx = grid_coord(x), gy = grid_coord(y);
  // The walk out of terrain asks about a pixel or two of each fine cell it
  // crosses, thousands of them in the first tick of a random file. Deep in
  // a huge triangle, the coarse cells it fills answer at once, and the fine
  // cells' memos, a fresh page of memory each for a walk across them, stay
  // untouched.
  if (solid_cell) {
    filled_cell filled = largest_filled_cell(gx, gy);
    if (filled.filler != 0) {
      *solid_cell = cell_box(filled.level, gx, gy);
      return true;
    }
  }
  return static_holds(x, y, gx, gy, solid_cell) || mobile_chain_holds(x, y, gx, gy);
}

void triangles_near(int left, int top, int right, int bottom, std::vector<const primitive*>& out) {
  out.clear();
  refile_moved();
  if (++index.round == 0) {  // the counter wrapped: forget the old rounds
    std::fill(index.seen.begin(), index.seen.end(), 0);
    index.round = 1;
  }
  grid_box view{grid_coord(left), grid_coord(top), grid_coord(right), grid_coord(bottom)};
  for (chain c : {FILLED, CROSSING, MOBILE})
    for (unsigned m = index.cells.used_levels(c); m != 0; m &= m - 1) {
      int level = __builtin_ctz(m);
      for_cells(view, level, [&](std::uint32_t cx, std::uint32_t cy) {
        for (std::uint32_t e = index.cells.first_in(c, level, cx, cy); e != 0;
             e = index.cells.next(e)) {
          const primitive* p = index.cells.triangle(e);
          if (index.seen[p->order] == index.round) continue;
          index.seen[p->order] = index.round;
          out.push_back(p);
        }
      });
    }
  std::sort(out.begin(), out.end(),
            [](const primitive* a, const primitive* b) { return a->order < b->order; });
}

}  // namespace terrain_index
