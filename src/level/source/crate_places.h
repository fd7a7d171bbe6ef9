// Where a level's crates start, for questions about many crates at once:
// which crates hold a point, whether any crate lies below a stretch of
// columns, which crates overlap a crate. Crates at one place are kept
// together, so a stack of thousands at one spot costs what one crate costs,
// and each question looks only at the few columns it spans.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "level/level_file.h"

class crate_places {
 public:
  // The crates among `objects`, which keep their places in it as indices.
  explicit crate_places(const std::vector<level_object>& objects);

  // Whether a crate at its start holds the point, edges included.
  bool holds(int x, int y) const;

  // Whether a crate reaching a column between `left` and `right` has its
  // bottom edge below `y`.
  bool any_below(int left, int right, int y) const;

  // The crates before `index` that overlap the crate at `index`: how many,
  // and the first few of them in list order.
  struct overlap {
    std::size_t count = 0;
    std::vector<std::size_t> first;
  };
  overlap earlier_overlapping(std::size_t index, std::size_t named) const;

 private:
  using place = std::pair<int, int>;  // the top-left corner: x, then y
  // The places within the x range, a y range at each x, for each place
  // `visit(its position)`.
  template <class Visit>
  void each_place(int left, int right, int top, int bottom, Visit visit) const;

  const std::vector<level_object>& objects_;
  std::vector<place> places_;                       // sorted, each once
  std::vector<std::vector<std::size_t>> crates_at_;  // object indices at each place, rising
};
