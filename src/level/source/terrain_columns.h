// A level's terrain triangles for the findings' collision questions, filed
// by the columns their boxes reach and, in each column, sorted by the top of
// their boxes. A question looks only at the columns it spans and skips, 32
// at a time, the triangles whose boxes end above it; each triangle is filed
// once however many copies of it the level holds. The game's own triangle
// list is left alone (the findings are made on any thread while a level
// plays); the point test is the game's.
//
// Columns come in four widths, 64 pixels to the whole level, and a triangle
// is filed in the narrowest whose columns it spans at most SPAN_MAX of: a
// level of long thin triangles, each across hundreds of narrow columns,
// would otherwise be filed hundreds of times over (335 MB for 10,878).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/level_file.h"

class terrain_columns {
 public:
  explicit terrain_columns(const level_data& level);

  // collideAll's answer for the level's terrain alone.
  bool solid(int x, int y) const;

  // Any whole-pixel point strictly inside the box in terrain.
  bool box_hits(int left, int top, int width, int height) const;

  // The smallest y of terrain at or below `y` on column x, or INT_MAX when
  // nothing lies there. With `any`, the first such y found, not the least.
  int first_solid_below(int x, int y, bool any = false) const;

  // The work the questions so far have done: each run of triangles looked
  // at, each triangle, and each pixel tested against one. What they cost.
  std::uint64_t work() const { return work_; }

 private:
  struct entry {
    int left, top, right, bottom;  // the triangle's box
    const level_vertex* corners;
  };
  struct column {
    std::vector<entry> entries;  // rising by top
    std::vector<int> lowest;     // the greatest bottom of each run of RUN entries
  };
  // Columns of one width: 1 << shift pixels.
  struct grid {
    int shift = 0;
    std::vector<column> columns;
    int index(int x) const;
  };
  static constexpr std::size_t RUN = 32;
  static constexpr int SPAN_MAX = 4;
  static constexpr int GRIDS = 4;

  void file(const entry& e);
  // Calls visit(entry) for the column's entries whose boxes meet the rows
  // top..bottom, rising by top, until it returns true; says whether one did.
  template <class Visit>
  bool visit_rows(const column& c, int top, int bottom, Visit visit) const;

  grid grids_[GRIDS];
  mutable std::uint64_t work_ = 0;
};
