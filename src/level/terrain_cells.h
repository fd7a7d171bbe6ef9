// The cells of the terrain index: a stack of uniform grids over the
// coordinate range, 64-pixel cells at the finest level and twice as wide at
// each level above, each cell holding chains of the triangles filed in it.
// Pure geometry and bookkeeping; terrain_index.cpp decides what is filed
// where and answers the questions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

struct primitive;

namespace terrain_cells {

// The grid covers world pixels -65,536..65,535 each way, twice the ±32,640 a
// level file can hold, so that every point a level can name lies in an inner
// cell at every level that a triangle can fill. A coordinate beyond the grid
// counts as lying in the edge cell, so edge cells also stand for everything
// beyond them: that keeps the index exact for any int a caller passes.
constexpr int ORIGIN = -65536;
constexpr int GRID_SHIFT = 17;                       // 131,072 pixels each way
constexpr int FINE_SHIFT = 6;                        // 64-pixel cells at level 0
constexpr int LEVELS = GRID_SHIFT - FINE_SHIFT + 1;  // 64 .. 131,072 pixels

constexpr int cell_shift(int level) { return FINE_SHIFT + level; }
constexpr std::uint32_t cells_per_side(int level) { return 1u << (GRID_SHIFT - cell_shift(level)); }

// Grid coordinate 0..131,071 of a world coordinate, clamped to the grid.
std::uint32_t grid_coord(std::int64_t world);

// A triangle's corners, as filed: sorted by x, then y, whatever order the
// triangle gives them in, which changes no answer of the point test. So
// triangles of one shape have equal corners.
struct corners {
  int x[3], y[3];
};
corners corners_of(const primitive& p);
bool operator<(const corners& a, const corners& b);
bool operator==(const corners& a, const corners& b);

// A bounding box in grid coordinates, clamped to the grid.
struct grid_box {
  std::uint32_t x0, y0, x1, y1;
};
grid_box box_of(const corners& c);

// Finest level whose cells are wider than the box: it spans at most two
// cells each way there.
int size_level(const grid_box& b);

// Finest level where the box spans at most 16 cells: a long thin triangle is
// filed in a row of fine cells rather than in a few coarse, crowded ones.
int placement_level(const grid_box& b);

// The list walk's own test of one triangle: solid flag, box, area test.
bool holds(const primitive& p, int px, int py);

// The same without the solid flag: whether the shape holds the point.
bool shape_holds(const primitive& p, int px, int py);

bool edge_cell(int level, std::uint32_t cx, std::uint32_t cy);

// Every pixel of the cell lies in the triangle with these corners; never
// true of an edge cell, which also stands for the world beyond the grid.
bool fills(const corners& c, int level, std::uint32_t cx, std::uint32_t cy);

bool box_meets_cell(const grid_box& b, int level, std::uint32_t cx, std::uint32_t cy);

// Corners within this many pixels of the origin keep every product of the
// area test, and of the geometry below, far inside 64 bits: there the test
// answers exactly what geometry says, so a triangle can be said to fill or
// miss a square of pixels without testing each one.
constexpr std::int64_t EXACT_LIMIT = 1 << 20;
bool exact_everywhere(const primitive& p);

// Whether the triangle shares a point with the closed square of pixels
// x0..x1, y0..y1. "No" is exact; "yes" may hold for a triangle that shares
// only points between pixels with it.
bool touches_square(const primitive& p, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1);

// Calls visit(cx, cy) for every cell of the box at the level.
template <typename Visit>
void for_cells(const grid_box& b, int level, Visit visit) {
  int s = cell_shift(level);
  for (std::uint32_t cy = b.y0 >> s; cy <= b.y1 >> s; ++cy)
    for (std::uint32_t cx = b.x0 >> s; cx <= b.x1 >> s; ++cx) visit(cx, cy);
}

// A box of world pixels, inclusive.
struct world_box {
  int left, top, right, bottom;
  bool holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  void widen(const world_box& b) {
    left = std::min(left, b.left);
    top = std::min(top, b.top);
    right = std::max(right, b.right);
    bottom = std::max(bottom, b.bottom);
  }
};
world_box world_box_of(const primitive& p);

// The chains of a cell: static triangles that fill it (any solid one holds
// every point of it), static triangles that only cross it, and triangles
// that have moved since they were made, which are kept apart so that what
// is remembered about the static terrain stays true while crates move.
enum chain { FILLED = 0, CROSSING = 1, MOBILE = 2, CHAINS = 3 };

// Chain heads per cell, allocated zeroed per level on first use (in
// untouched pages, so a level costs memory only where it is used), and the
// entries of all chains. Entry 0 stands for "none".
class cell_chains {
 public:
  cell_chains();
  ~cell_chains();
  cell_chains(const cell_chains&) = delete;
  cell_chains& operator=(const cell_chains&) = delete;

  // Links the triangle into the cell's chain and returns its entry. A
  // triangle's entries are chained to each other too, in the order they were
  // linked: `after` is its entry linked just before, or 0 for its first.
  std::uint32_t link(chain c, int level, std::uint32_t cx, std::uint32_t cy, primitive* p,
                     std::uint32_t after);
  // Takes the entry out of the cell's chain in constant time, however many
  // triangles share the cell: a crate moving among thousands of others at
  // one place costs what it costs alone.
  void unlink(chain c, int level, std::uint32_t cx, std::uint32_t cy, std::uint32_t e);
  // The triangle's entry linked after this one, or 0.
  std::uint32_t after(std::uint32_t e) const { return entry_after_[e]; }
  // First entry of the chain of the cell holding grid point (gx, gy).
  std::uint32_t first_at(chain c, int level, std::uint32_t gx, std::uint32_t gy) const;
  std::uint32_t first_in(chain c, int level, std::uint32_t cx, std::uint32_t cy) const;
  std::uint32_t next(std::uint32_t e) const { return entry_next_[e]; }
  primitive* triangle(std::uint32_t e) const { return entry_triangle_[e]; }
  // Around the moved triangles of a cell, a box that holds them all: a
  // question outside it needs no look at them, so a blob beside a stack of
  // thousands of crates asks about one box, not every crate. It grows as
  // triangles join the chain or move within it, does not shrink as they
  // leave, and a look at every one of them may set it to their own reach.
  const world_box& mobile_reach(int level, std::uint32_t cx, std::uint32_t cy) const {
    return reaches_[level][cy * cells_per_side(level) + cx];
  }
  void widen_mobile_reach(int level, std::uint32_t cx, std::uint32_t cy, const world_box& b) {
    reach(level, cx, cy).widen(b);
  }
  void set_mobile_reach(int level, std::uint32_t cx, std::uint32_t cy, const world_box& b) {
    reach(level, cx, cy) = b;
  }
  // Bit L set: level L may hold entries of the chain.
  unsigned used_levels(chain c) const { return used_[c]; }
  // Makes sure `more` further entries can be linked without allocating.
  void keep_room(std::size_t more);
  void clear();

 private:
  std::uint32_t& head(chain c, int level, std::uint32_t cx, std::uint32_t cy);
  world_box& reach(int level, std::uint32_t cx, std::uint32_t cy) {
    return reaches_[level][cy * cells_per_side(level) + cx];
  }

  std::uint32_t* heads_[LEVELS][CHAINS] = {};
  world_box* reaches_[LEVELS] = {};  // taken with the level's moved chains' heads
  unsigned used_[CHAINS] = {};
  std::vector<primitive*> entry_triangle_;
  std::vector<std::uint32_t> entry_next_;
  std::vector<std::uint32_t> entry_previous_;  // 0 for the first of its chain
  std::vector<std::uint32_t> entry_after_;
  std::uint32_t free_entries_ = 0;  // chain of entries to reuse
};

}  // namespace terrain_cells
