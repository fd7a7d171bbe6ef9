#include "level/terrain_cells.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdlib>

#include "level/terrain.h"
#include "level/zeroed_pages.h"

namespace terrain_cells {
namespace {
constexpr std::uint32_t GRID_LAST = (1u << GRID_SHIFT) - 1;
constexpr std::uint32_t MAX_PLACEMENT_CELLS = 16;

std::size_t head_count(int level) {
  return static_cast<std::size_t>(cells_per_side(level)) * cells_per_side(level);
}

// The list walk's box and area test on bare corners.
bool holds(const corners& c, int px, int py) {
  const int* x = c.x;
  const int* y = c.y;
  if ((x[0] < px && x[1] < px && x[2] < px) || (x[0] > px && x[1] > px && x[2] > px) ||
      (y[0] < py && y[1] < py && y[2] < py) || (y[0] > py && y[1] > py && y[2] > py))
    return false;
  return collideTriangleSpecial(x[0], y[0], x[1], y[1], x[2], y[2], px, py) != 0;
}
}  // namespace

std::uint32_t grid_coord(std::int64_t world) {
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(world - ORIGIN, 0, GRID_LAST));
}

corners corners_of(const primitive& p) {
  std::pair<int, int> c[3] = {{p.x1, p.y1}, {p.x2, p.y2}, {p.x3, p.y3}};
  if (c[1] < c[0]) std::swap(c[0], c[1]);
  if (c[2] < c[1]) std::swap(c[1], c[2]);
  if (c[1] < c[0]) std::swap(c[0], c[1]);
  return {{c[0].first, c[1].first, c[2].first}, {c[0].second, c[1].second, c[2].second}};
}

namespace {
std::array<int, 6> key_of(const corners& c) {
  return {c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2]};
}
}  // namespace

bool operator<(const corners& a, const corners& b) { return key_of(a) < key_of(b); }

bool operator==(const corners& a, const corners& b) { return key_of(a) == key_of(b); }

grid_box box_of(const corners& c) {
  auto [xmin, xmax] = std::minmax({c.x[0], c.x[1], c.x[2]});
  auto [ymin, ymax] = std::minmax({c.y[0], c.y[1], c.y[2]});
  return {grid_coord(xmin), grid_coord(ymin), grid_coord(xmax), grid_coord(ymax)};
}

int size_level(const grid_box& b) {
  std::uint32_t extent = std::max(b.x1 - b.x0, b.y1 - b.y0);
  int level = 0;
  while (level < LEVELS - 1 && extent >= (1u << cell_shift(level))) ++level;
  return level;
}

int placement_level(const grid_box& b) {
  for (int level = 0;; ++level) {
    int s = cell_shift(level);
    std::uint32_t across = (b.x1 >> s) - (b.x0 >> s) + 1, down = (b.y1 >> s) - (b.y0 >> s) + 1;
    if (across * down <= MAX_PLACEMENT_CELLS || level == LEVELS - 1) return level;
  }
}

bool holds(const primitive& p, int px, int py) { return p.solid && shape_holds(p, px, py); }

// The same test as on bare corners, reading the record's fields in place:
// this runs for every question, and copying the corners out first made a
// blob's step a third slower.
bool shape_holds(const primitive& p, int px, int py) {
  if ((p.x1 < px && p.x2 < px && p.x3 < px) || (p.x1 > px && p.x2 > px && p.x3 > px) ||
      (p.y1 < py && p.y2 < py && p.y3 < py) || (p.y1 > py && p.y2 > py && p.y3 > py))
    return false;
  return collideTriangleSpecial(p.x1, p.y1, p.x2, p.y2, p.x3, p.y3, px, py) != 0;
}

bool exact_everywhere(const primitive& p) {
  for (int v : {p.x1, p.x2, p.x3, p.y1, p.y2, p.y3})
    if (std::abs(static_cast<std::int64_t>(v)) > EXACT_LIMIT) return false;
  return true;
}

bool edge_cell(int level, std::uint32_t cx, std::uint32_t cy) {
  std::uint32_t last = cells_per_side(level) - 1;
  return cx == 0 || cy == 0 || cx == last || cy == last;
}

// The four corner pixels suffice: the triangle is convex and the area test
// exact, so it holds every pixel between them too.
bool fills(const corners& c, int level, std::uint32_t cx, std::uint32_t cy) {
  if (edge_cell(level, cx, cy)) return false;
  int s = cell_shift(level);
  int x0 = ORIGIN + static_cast<int>(cx << s);
  int y0 = ORIGIN + static_cast<int>(cy << s);
  int x1 = x0 + (1 << s) - 1;
  int y1 = y0 + (1 << s) - 1;
  return holds(c, x0, y0) && holds(c, x1, y0) && holds(c, x0, y1) && holds(c, x1, y1);
}

bool box_meets_cell(const grid_box& b, int level, std::uint32_t cx, std::uint32_t cy) {
  int s = cell_shift(level);
  std::uint32_t x0 = cx << s, y0 = cy << s;
  std::uint32_t x1 = x0 + (1u << s) - 1, y1 = y0 + (1u << s) - 1;
  return b.x0 <= x1 && b.x1 >= x0 && b.y0 <= y1 && b.y1 >= y0;
}

// Separating axes: the square's two, and the normals of the triangle's
// edges, in 64-bit integers, so exact. A degenerate triangle's edges share
// one normal, which with the square's axes still separates a segment or a
// point from the square exactly.
bool touches_square(const primitive& p, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                    std::int64_t y1) {
  const std::int64_t x[3] = {p.x1, p.x2, p.x3}, y[3] = {p.y1, p.y2, p.y3};
  if (std::max({x[0], x[1], x[2]}) < x0 || std::min({x[0], x[1], x[2]}) > x1 ||
      std::max({y[0], y[1], y[2]}) < y0 || std::min({y[0], y[1], y[2]}) > y1)
    return false;
  for (int k = 0; k < 3; ++k) {
    std::int64_t nx = y[k] - y[(k + 1) % 3], ny = x[(k + 1) % 3] - x[k];
    auto project = [nx, ny](std::int64_t px, std::int64_t py) { return nx * px + ny * py; };
    std::int64_t t0 = project(x[k], y[k]), t2 = project(x[(k + 2) % 3], y[(k + 2) % 3]);
    std::int64_t c[4] = {project(x0, y0), project(x1, y0), project(x0, y1), project(x1, y1)};
    if (std::max(t0, t2) < std::min({c[0], c[1], c[2], c[3]}) ||
        std::min(t0, t2) > std::max({c[0], c[1], c[2], c[3]}))
      return false;
  }
  return true;
}

cell_chains::cell_chains()
    : entry_triangle_{nullptr}, entry_next_{0}, entry_previous_{0}, entry_after_{0} {}

cell_chains::~cell_chains() { clear(); }

world_box world_box_of(const primitive& p) {
  return {std::min({p.x1, p.x2, p.x3}), std::min({p.y1, p.y2, p.y3}), std::max({p.x1, p.x2, p.x3}),
          std::max({p.y1, p.y2, p.y3})};
}

std::uint32_t& cell_chains::head(chain c, int level, std::uint32_t cx, std::uint32_t cy) {
  std::uint32_t*& heads = heads_[level][c];
  if (!heads) heads = take_zeroed_table<std::uint32_t>(head_count(level));
  if (c == MOBILE && !reaches_[level]) reaches_[level] = take_zeroed_table<world_box>(head_count(level));
  return heads[cy * cells_per_side(level) + cx];
}

std::uint32_t cell_chains::link(chain c, int level, std::uint32_t cx, std::uint32_t cy,
                                primitive* p, std::uint32_t after) {
  std::uint32_t e = free_entries_;
  if (e != 0) {
    free_entries_ = entry_next_[e];
  } else {
    e = static_cast<std::uint32_t>(entry_triangle_.size());
    entry_triangle_.push_back(nullptr);
    entry_next_.push_back(0);
    entry_previous_.push_back(0);
    entry_after_.push_back(0);
  }
  std::uint32_t& first = head(c, level, cx, cy);
  if (c == MOBILE) {
    if (first == 0)
      reach(level, cx, cy) = world_box_of(*p);
    else
      reach(level, cx, cy).widen(world_box_of(*p));
  }
  entry_triangle_[e] = p;
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
  assert(e != 0 && entry_triangle_[e] && "only a linked entry can be unlinked");
  std::uint32_t previous = entry_previous_[e], next = entry_next_[e];
  if (previous != 0) {
    entry_next_[previous] = next;
  } else {
    assert(head(c, level, cx, cy) == e && "an entry is unlinked from the cell it was linked in");
    head(c, level, cx, cy) = next;
  }
  if (next != 0) entry_previous_[next] = previous;
  entry_triangle_[e] = nullptr;
  entry_next_[e] = free_entries_;
  free_entries_ = e;
}

std::uint32_t cell_chains::first_at(chain c, int level, std::uint32_t gx, std::uint32_t gy) const {
  int s = cell_shift(level);
  return first_in(c, level, gx >> s, gy >> s);
}

std::uint32_t cell_chains::first_in(chain c, int level, std::uint32_t cx, std::uint32_t cy) const {
  const std::uint32_t* heads = heads_[level][c];
  return heads ? heads[cy * cells_per_side(level) + cx] : 0;
}

void cell_chains::keep_room(std::size_t more) {
  std::size_t needed = entry_triangle_.size() + more;
  if (entry_triangle_.capacity() >= needed) return;
  std::size_t room = std::max(needed, 2 * entry_triangle_.capacity());
  entry_triangle_.reserve(room);
  entry_next_.reserve(room);
  entry_previous_.reserve(room);
  entry_after_.reserve(room);
}

void cell_chains::clear() {
  for (int level = 0; level < LEVELS; ++level)
    for (std::uint32_t*& heads : heads_[level]) {
      give_back_table(heads, head_count(level));
      heads = nullptr;
    }
  for (int level = 0; level < LEVELS; ++level) {
    give_back_table(reaches_[level], head_count(level));
    reaches_[level] = nullptr;
  }
  std::fill(std::begin(used_), std::end(used_), 0u);
  std::vector<primitive*>{nullptr}.swap(entry_triangle_);
  std::vector<std::uint32_t>{0}.swap(entry_next_);
  std::vector<std::uint32_t>{0}.swap(entry_previous_);
  std::vector<std::uint32_t>{0}.swap(entry_after_);
  free_entries_ = 0;
}

}  // namespace terrain_cells
