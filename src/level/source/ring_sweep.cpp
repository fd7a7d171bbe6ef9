#include "ring_sweep.h"

#include <algorithm>
#include <cstdint>
#include <set>

int turn(const point2& a, const point2& b, const point2& c) {
  std::int64_t cross = static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) -
                       static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
  return (cross > 0) - (cross < 0);
}

namespace {
// p lies within the bounding box of a-b (used once p is known to be on the line).
bool within_box(const point2& a, const point2& b, const point2& p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// The sweep meets points in this order: by x, then by y, as if the sweep
// line leaned a little, so that a vertical edge is crossed from one end to
// the other and needs no case of its own.
bool sweeps_before(const point2& a, const point2& b) {
  return a.x < b.x || (a.x == b.x && a.y < b.y);
}

struct edge {
  point2 start, end;  // start sweeps before end
  std::size_t index;  // i for the edge from point i to point i + 1
};

// Which of two edges the sweep crosses is lower, asked where the later of
// them starts: by the side of the other's line its start lies on, or its end
// when the start is on that line. Only edges that do not cross are ever
// compared while the sweep goes on, so this is a consistent order.
struct lower_edge {
  const std::vector<edge>* edges;
  bool operator()(std::size_t a, std::size_t b) const {
    const edge& e = (*edges)[a];
    const edge& f = (*edges)[b];
    if (a == b) return false;
    bool e_first = !sweeps_before(f.start, e.start);
    const edge& older = e_first ? e : f;
    const edge& newer = e_first ? f : e;
    int side = turn(older.start, older.end, newer.start);
    if (side == 0) side = turn(older.start, older.end, newer.end);
    if (side == 0) return a < b;  // on one line: they overlap, and are found to meet
    return e_first ? side > 0 : side < 0;
  }
};

class chain_sweep {
 public:
  chain_sweep(const std::vector<point2>& ring, std::size_t count)
      : ring_size_(ring.size()), status_(lower_edge{&edges_}) {
    for (std::size_t i = 0; i < count; ++i) {
      const point2& a = ring[i];
      const point2& b = ring[(i + 1) % ring.size()];
      edges_.push_back(sweeps_before(a, b) ? edge{a, b, i} : edge{b, a, i});
    }
  }

  bool any_meet() {
    struct event {
      point2 at;
      bool ends;  // at the edge's end point (taken out) or its start (put in)
      std::size_t edge;
    };
    std::vector<event> events;
    for (const edge& e : edges_) {
      events.push_back({e.start, false, e.index});
      events.push_back({e.end, true, e.index});
    }
    // At one point, edges that end there leave before those that start there
    // come in (either order would do: no two points of the chain are the
    // same, shares_a_point has made sure, so only neighbours meet there).
    std::sort(events.begin(), events.end(), [](const event& a, const event& b) {
      if (a.at == b.at) return a.ends > b.ends;
      return sweeps_before(a.at, b.at);
    });
    places_.resize(edges_.size());
    for (const event& e : events)
      if (e.ends ? take_out(e.edge) : put_in(e.edge)) return true;
    return false;
  }

 private:
  using status = std::set<std::size_t, lower_edge>;

  // The last edge is in the chain only when the chain is the whole ring.
  bool neighbours(std::size_t a, std::size_t b) const {
    std::size_t low = std::min(a, b), high = std::max(a, b);
    return high - low == 1 || (low == 0 && high == ring_size_ - 1);
  }

  bool meet(std::size_t a, std::size_t b) const {
    if (neighbours(a, b)) return false;  // they share their common end only
    const edge &e = edges_[a], &f = edges_[b];
    return segments_meet(e.start, e.end, f.start, f.end);
  }

  bool put_in(std::size_t index) {
    status::iterator at = status_.insert(index).first;
    places_[index] = at;
    if (at != status_.begin() && meet(*std::prev(at), index)) return true;
    return std::next(at) != status_.end() && meet(index, *std::next(at));
  }

  bool take_out(std::size_t index) {
    status::iterator at = places_[index];
    bool has_both = at != status_.begin() && std::next(at) != status_.end();
    bool found = has_both && meet(*std::prev(at), *std::next(at));
    status_.erase(at);
    return found;
  }

  std::size_t ring_size_;
  std::vector<edge> edges_;
  status status_;
  std::vector<status::iterator> places_;  // where each edge stands in status_
};

// Two points of the chain that are the same point: the chain touches itself
// there. (Neighbouring points are never the same: no edge has length 0.)
bool shares_a_point(const std::vector<point2>& ring, std::size_t edges) {
  std::size_t points = edges == ring.size() ? edges : edges + 1;
  std::vector<point2> sorted(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(points));
  std::sort(sorted.begin(), sorted.end(), sweeps_before);
  return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}
}  // namespace

bool segments_meet(const point2& a, const point2& b, const point2& c, const point2& d) {
  int t1 = turn(a, b, c), t2 = turn(a, b, d), t3 = turn(c, d, a), t4 = turn(c, d, b);
  if (t1 * t2 < 0 && t3 * t4 < 0) return true;
  return (t1 == 0 && within_box(a, b, c)) || (t2 == 0 && within_box(a, b, d)) ||
         (t3 == 0 && within_box(c, d, a)) || (t4 == 0 && within_box(c, d, b));
}

bool chain_meets_itself(const std::vector<point2>& ring, std::size_t edges) {
  if (edges < 2) return false;
  if (shares_a_point(ring, edges)) return true;
  return chain_sweep(ring, edges).any_meet();
}
