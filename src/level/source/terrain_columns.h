// A level's terrain triangles for the findings' collision questions, filed
// by the 64-pixel columns their boxes reach and, in each column, sorted by
// the top of their boxes. A question looks only at the columns it spans and
// skips, 32 at a time, the triangles whose boxes end above it; each
// triangle is filed once however many copies of it the level holds. The
// game's own triangle list is left alone (the findings are made on any
// thread while a level plays); the point test is the game's.
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

  // How many triangles the questions so far have looked at: their cost.
  std::uint64_t visits() const { return visits_; }

 private:
  struct entry {
    int left, top, right, bottom;  // the triangle's box
    const level_vertex* corners;
  };
  struct column {
    std::vector<entry> entries;  // rising by top
    std::vector<int> lowest;     // the greatest bottom of each run of RUN entries
  };
  static constexpr std::size_t RUN = 32;

  const column* column_at(int x) const;
  // Calls visit(entry) for the column's entries whose boxes meet the rows
  // top..bottom, rising by top, until it returns true; says whether one did.
  template <class Visit>
  bool visit_rows(const column& c, int top, int bottom, Visit visit) const;

  std::vector<column> columns_;
  mutable std::uint64_t visits_ = 0;
};
