#include "crate_places.h"

#include <algorithm>
#include <climits>

#include "level/platform.h"
#include "object_kind.h"

crate_places::crate_places(const std::vector<level_object>& objects) : objects_(objects) {
  std::vector<std::pair<place, std::size_t>> crates;
  for (std::size_t k = 0; k < objects.size(); ++k)
    if (objects[k].type == TYPE_PLATFORM) crates.push_back({{objects[k].x, objects[k].y}, k});
  std::sort(crates.begin(), crates.end());
  for (const auto& [where, index] : crates) {
    if (places_.empty() || places_.back() != where) {
      places_.push_back(where);
      crates_at_.emplace_back();
    }
    crates_at_.back().push_back(index);
  }
}

// Corners are level-file coordinates (16 bits), so the ranges below never
// overflow an int. Columns without a crate are skipped in one step: a
// question about open ground costs one search, not one for each column.
template <class Visit>
void crate_places::each_place(int left, int right, int top, int bottom, Visit visit) const {
  for (int x = left; x <= right;) {
    auto from = std::lower_bound(places_.begin(), places_.end(), place{x, top});
    if (from == places_.end()) return;
    if (from->first != x) {  // no crate in this column from `top` down
      x = from->first;
      continue;
    }
    auto to = std::upper_bound(from, places_.end(), place{x, bottom});
    for (auto at = from; at != to; ++at) visit(static_cast<std::size_t>(at - places_.begin()));
    ++x;
  }
}

bool crate_places::holds(int x, int y) const {
  bool held = false;
  each_place(x - PLATFORM_WIDTH, x, y - PLATFORM_HEIGHT, y, [&](std::size_t) { held = true; });
  return held;
}

bool crate_places::any_below(int left, int right, int y) const {
  // Rising order puts the lowest crate of each x last among that x's places.
  // The first place past a column is in the next column that has a crate.
  for (int x = left - PLATFORM_WIDTH; x <= right;) {
    auto past = std::upper_bound(places_.begin(), places_.end(), place{x, INT_MAX});
    if (past != places_.begin() && std::prev(past)->first == x &&
        std::prev(past)->second + PLATFORM_HEIGHT > y)
      return true;
    if (past == places_.end()) return false;
    x = past->first;
  }
  return false;
}

// Two crates overlap when they share more than an edge: less than a crate's
// width apart across and less than its height apart up and down.
crate_places::overlap crate_places::earlier_overlapping(std::size_t index,
                                                        std::size_t named) const {
  const level_object& o = objects_[index];
  overlap found;
  each_place(o.x - PLATFORM_WIDTH + 1, o.x + PLATFORM_WIDTH - 1, o.y - PLATFORM_HEIGHT + 1,
             o.y + PLATFORM_HEIGHT - 1, [&](std::size_t at) {
               const std::vector<std::size_t>& crates = crates_at_[at];
               auto earlier = std::lower_bound(crates.begin(), crates.end(), index);
               found.count += static_cast<std::size_t>(earlier - crates.begin());
               auto shown = crates.begin() + std::min<std::ptrdiff_t>(earlier - crates.begin(),
                                                                    static_cast<std::ptrdiff_t>(named));
               found.first.insert(found.first.end(), crates.begin(), shown);
             });
  std::sort(found.first.begin(), found.first.end());
  if (found.first.size() > named) found.first.resize(named);
  return found;
}
