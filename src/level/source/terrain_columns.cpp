#include "terrain_columns.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "level/terrain.h"

namespace {
// Level coordinates lie within a number triple's range.
constexpr int COORD_MAX = LEVEL_COORD_MAX;
// The grids' column widths: 64 pixels, 512, 4,096, and more than the level.
constexpr int GRID_SHIFTS[] = {6, 9, 12, 16};

bool same_corners(const level_triangle& a, const level_triangle& b) {
  for (int c = 0; c < 3; ++c)
    if (a.v[c].x != b.v[c].x || a.v[c].y != b.v[c].y) return false;
  return true;
}

bool corners_before(const level_triangle& a, const level_triangle& b) {
  for (int c = 0; c < 3; ++c) {
    if (a.v[c].x != b.v[c].x) return a.v[c].x < b.v[c].x;
    if (a.v[c].y != b.v[c].y) return a.v[c].y < b.v[c].y;
  }
  return false;
}

// The triangle's extent along the vertical line through x.
bool span_at(const level_vertex* v, int x, double& low, double& high) {
  low = INFINITY, high = -INFINITY;
  for (int e = 0; e < 3; ++e) {
    const level_vertex &a = v[e], &b = v[(e + 1) % 3];
    if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) continue;
    double y1 = a.y, y2 = b.y;
    if (a.x != b.x) y1 = y2 = a.y + static_cast<double>(x - a.x) * (b.y - a.y) / (b.x - a.x);
    low = std::min({low, y1, y2}), high = std::max({high, y1, y2});
  }
  return low <= high;
}

bool holds(const level_vertex* v, int x, int y) {
  return collideTriangleSpecial(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, x, y) != 0;
}
}  // namespace

int terrain_columns::grid::index(int x) const {
  return (std::clamp(x, -COORD_MAX, COORD_MAX) >> shift) - (-COORD_MAX >> shift);
}

// Copies of one triangle answer as one: the point test reads only corners.
terrain_columns::terrain_columns(const level_data& level) {
  for (int g = 0; g < GRIDS; ++g) {
    grids_[g].shift = GRID_SHIFTS[g];
    grids_[g].columns.resize(static_cast<std::size_t>(grids_[g].index(COORD_MAX)) + 1);
  }
  std::vector<const level_triangle*> distinct;
  for (const level_triangle& t : level.triangles) distinct.push_back(&t);
  std::sort(distinct.begin(), distinct.end(),
            [](const level_triangle* a, const level_triangle* b) { return corners_before(*a, *b); });
  distinct.erase(std::unique(distinct.begin(), distinct.end(),
                             [](const level_triangle* a, const level_triangle* b) {
                               return same_corners(*a, *b);
                             }),
                 distinct.end());
  for (const level_triangle* t : distinct) {
    const level_vertex* v = t->v;
    file({std::min({v[0].x, v[1].x, v[2].x}), std::min({v[0].y, v[1].y, v[2].y}),
          std::max({v[0].x, v[1].x, v[2].x}), std::max({v[0].y, v[1].y, v[2].y}), v});
  }
  for (grid& g : grids_)
    for (column& c : g.columns) {
      std::sort(c.entries.begin(), c.entries.end(),
                [](const entry& a, const entry& b) { return a.top < b.top; });
      for (std::size_t k = 0; k < c.entries.size(); k += RUN) {
        int lowest = INT_MIN;
        for (std::size_t i = k; i < std::min(k + RUN, c.entries.size()); ++i)
          lowest = std::max(lowest, c.entries[i].bottom);
        c.lowest.push_back(lowest);
      }
    }
}

// In the narrowest grid whose columns it spans few of; the widest takes
// every triangle left.
void terrain_columns::file(const entry& e) {
  for (grid& g : grids_) {
    int first = g.index(e.left), last = g.index(e.right);
    if (last - first >= SPAN_MAX && &g != &grids_[GRIDS - 1]) continue;
    for (int c = first; c <= last; ++c) g.columns[static_cast<std::size_t>(c)].entries.push_back(e);
    return;
  }
}

template <class Visit>
bool terrain_columns::visit_rows(const column& c, int top, int bottom, Visit visit) const {
  auto end = std::upper_bound(c.entries.begin(), c.entries.end(), bottom,
                              [](int row, const entry& e) { return row < e.top; });
  std::size_t count = static_cast<std::size_t>(end - c.entries.begin());
  for (std::size_t run = 0; run * RUN < count; ++run) {
    ++work_;
    if (c.lowest[run] < top) continue;
    for (std::size_t k = run * RUN; k < std::min(count, (run + 1) * RUN); ++k) {
      ++work_;
      if (c.entries[k].bottom >= top && visit(c.entries[k])) return true;
    }
  }
  return false;
}

bool terrain_columns::solid(int x, int y) const {
  if (x < -COORD_MAX || x > COORD_MAX) return false;
  for (const grid& g : grids_) {
    const column& c = g.columns[static_cast<std::size_t>(g.index(x))];
    if (visit_rows(c, y, y, [&](const entry& e) {
          return e.left <= x && e.right >= x && (++work_, holds(e.corners, x, y));
        }))
      return true;
  }
  return false;
}

// In each grid, each column the box spans: the pixels where the box and a
// triangle's box meet, each tested once.
bool terrain_columns::box_hits(int left, int top, int width, int height) const {
  int x0 = std::max(left + 1, -COORD_MAX), x1 = std::min(left + width - 1, COORD_MAX);
  int y0 = top + 1, y1 = top + height - 1;
  for (const grid& g : grids_) {
    int last_pixel = (1 << g.shift) - 1;
    for (int x = x0; x <= x1; x = (x | last_pixel) + 1) {
      int column_right = std::min(x | last_pixel, x1);
      const column& c = g.columns[static_cast<std::size_t>(g.index(x))];
      bool hit = visit_rows(c, y0, y1, [&](const entry& e) {
        for (int px = std::max(x, e.left); px <= std::min(column_right, e.right); ++px)
          for (int py = std::max(y0, e.top); py <= std::min(y1, e.bottom); ++py)
            if (++work_, holds(e.corners, px, py)) return true;
        return false;
      });
      if (hit) return true;
    }
  }
  return false;
}

// Rising by top, a triangle whose box starts below the best found so far
// cannot better it.
int terrain_columns::first_solid_below(int x, int y, bool any) const {
  int found = INT_MAX;
  if (x < -COORD_MAX || x > COORD_MAX) return found;
  for (const grid& g : grids_) {
    const column& c = g.columns[static_cast<std::size_t>(g.index(x))];
    visit_rows(c, y, INT_MAX, [&](const entry& e) {
      if (e.top > found) return true;
      double low, high;
      if (e.left > x || e.right < x || (++work_, !span_at(e.corners, x, low, high))) return false;
      int first = std::max(y, static_cast<int>(std::ceil(low)));
      if (first > std::floor(high)) return false;
      found = std::min(found, first);
      return any || found == y;
    });
    if (found == y || (any && found != INT_MAX)) break;
  }
  return found;
}
