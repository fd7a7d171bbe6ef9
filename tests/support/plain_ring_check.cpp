#include "support/plain_ring_check.h"

#include <algorithm>
#include <cstdint>

namespace {
std::int64_t cross(const point2& a, const point2& b, const point2& c) {
  return static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) -
         static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x);
}

bool on_segment(const point2& a, const point2& b, const point2& p) {
  return cross(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
         std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}

// Closed segments share a point: they cross properly, or an end of one lies
// on the other.
bool meet(const point2& a, const point2& b, const point2& c, const point2& d) {
  std::int64_t d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
  bool proper = ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
  return proper || on_segment(a, b, c) || on_segment(a, b, d) || on_segment(c, d, a) ||
         on_segment(c, d, b);
}

// a -> b -> c turns straight back along itself.
bool folds(const point2& a, const point2& b, const point2& c) {
  std::int64_t dot = static_cast<std::int64_t>(b.x - a.x) * (c.x - b.x) +
                     static_cast<std::int64_t>(b.y - a.y) * (c.y - b.y);
  return cross(a, b, c) == 0 && dot < 0;
}

std::string number(std::size_t i) { return std::to_string(i + 1); }

std::string overlap(const std::vector<point2>& p) {
  std::size_t n = p.size();
  auto at = [&](std::size_t i) { return p[i % n]; };
  auto edge = [&](std::size_t i) { return "edge " + number(i) + "-" + number((i + 1) % n); };
  for (std::size_t k = 0; k < n; ++k) {
    if (at(k) == at(k + 1)) return "point " + number((k + 1) % n) + " repeats the point before it";
    if (k > 0 && folds(at(k - 1), at(k), at(k + 1)))
      return "it folds back on itself at point " + number(k);
    if (k == n - 1 && folds(at(k), at(k + 1), at(k + 2))) return "it folds back on itself at point 1";
    for (std::size_t i = 0; i + 1 < k; ++i) {
      if (i == 0 && k == n - 1) continue;  // neighbours across the ring's start
      if (meet(at(i), at(i + 1), at(k), at(k + 1)))
        return edge(i) + " crosses or touches " + edge(k);
    }
  }
  return "";
}
}  // namespace

std::string plain_ring_problem(const std::vector<point2>& ring) {
  if (ring.size() < 3) return "it has " + std::to_string(ring.size()) + " points; a polygon needs 3";
  std::string problem = overlap(ring);
  if (!problem.empty()) return "it overlaps itself: " + problem;
  std::int64_t area = 0;
  for (std::size_t i = 0; i < ring.size(); ++i)
    area += cross({0, 0}, ring[i], ring[(i + 1) % ring.size()]);
  return area == 0 ? "it has no area: all its points lie on one line" : "";
}

std::vector<point2> sawtooth_ring(int points) {
  int teeth = points - 2;
  int step = std::max(1, 64000 / teeth);
  std::vector<point2> ring;
  for (int k = 0; k < teeth; ++k) ring.push_back({-32000 + k * step, k % 2 ? -40 : 0});
  ring.push_back({ring.back().x, 1000});
  ring.push_back({-32000, 1000});
  return ring;
}
