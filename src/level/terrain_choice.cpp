#include "level/terrain_choice.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "level/terrain.h"
#include "level/triangle_test.h"
#include "shell/view.h"

namespace {
// True when all three corners lie beyond the same side of the view; a
// triangle that spans the view with no corner inside it is still drawn.
bool beyond_view(const primitive& p) {
  int left = view_x, right = view_right();
  int top = view_y, bottom = view_bottom();
  return (p.x1 < left && p.x2 < left && p.x3 < left) ||
         (p.x1 > right && p.x2 > right && p.x3 > right) ||
         (p.y1 < top && p.y2 < top && p.y3 < top) ||
         (p.y1 > bottom && p.y2 > bottom && p.y3 > bottom);
}

// A margin far beyond any rounding on the way to the screen and beyond
// the reach of a smoothed outline.
constexpr std::int64_t MARGIN = 4;          // window pixels
constexpr std::int64_t FARTHEST = 1 << 29;  // pixels: keeps every product below 2^62

// A triangle's corners and the view's, widened by the margin, for the edge
// tests below.
struct widened_view {
  std::int64_t x[3], y[3];                // the triangle's corners
  std::int64_t corner_x[4], corner_y[4];  // the view's, widened
};

// False when a coordinate lies so far out that the products of the edge
// tests could overflow.
bool widen(const primitive& p, widened_view& v) {
  const std::int64_t x[3] = {p.x1, p.x2, p.x3}, y[3] = {p.y1, p.y2, p.y3};
  for (std::int64_t c :
       {x[0], x[1], x[2], y[0], y[1], y[2], std::int64_t{view_x}, std::int64_t{view_y}})
    if (std::llabs(c) > FARTHEST) return false;
  const std::int64_t margin = MARGIN * view_scale;
  const std::int64_t left = view_x - margin, right = view_right() + margin;
  const std::int64_t top = view_y - margin, bottom = view_bottom() + margin;
  v = {{x[0], x[1], x[2]},
       {y[0], y[1], y[2]},
       {left, right, left, right},
       {top, top, bottom, bottom}};
  return true;
}

// How many of the widened view's corners lie on each side of the line
// through corners k and k + 1.
void sides_of_edge(const widened_view& v, int k, int& positive, int& negative) {
  int n = (k + 1) % 3;
  positive = negative = 0;
  for (int c = 0; c < 4; ++c) {
    std::int64_t side =
        triangle_test::edge_side(v.x[k], v.y[k], v.x[n], v.y[n], v.corner_x[c], v.corner_y[c]);
    positive += side > 0;
    negative += side < 0;
  }
}

// Every pixel of the window lies inside the triangle: the widened view's
// corners are on the inner side of all three edges of the convex triangle.
bool covers_window(const primitive& p) {
  widened_view v;
  if (!widen(p, v)) return false;
  std::int64_t area = triangle_test::edge_side(v.x[0], v.y[0], v.x[1], v.y[1], v.x[2], v.y[2]);
  for (int k = 0; k < 3 && area != 0; ++k) {
    int positive, negative;
    sides_of_edge(v, k, positive, negative);
    if ((area > 0 ? negative : positive) > 0) return false;
  }
  return area != 0;
}

// No pixel of the window can show the triangle, though its box may hold the
// whole view: the widened view lies wholly beyond one of its edges (for a
// triangle with no area, wholly on one side of its line).
bool misses_window(const primitive& p) {
  widened_view v;
  if (!widen(p, v)) return false;
  std::int64_t area = triangle_test::edge_side(v.x[0], v.y[0], v.x[1], v.y[1], v.x[2], v.y[2]);
  for (int k = 0; k < 3; ++k) {
    int positive, negative;
    sides_of_edge(v, k, positive, negative);
    if (area > 0 ? negative == 4 : area < 0 ? positive == 4 : positive == 4 || negative == 4)
      return true;
  }
  return false;
}

// Huge triangles whose boxes hold the view but which lie beside it draw
// nothing there. The last one stays, whatever it is: the colour and texture
// coordinate it leaves current are those drawing everything leaves.
void leave_out_what_misses_the_window(std::vector<const primitive*>& in_view) {
  if (in_view.size() < 2) return;
  in_view.erase(std::remove_if(in_view.begin(), in_view.end() - 1,
                               [](const primitive* p) { return misses_window(*p); }),
                in_view.end() - 1);
}

// Where drawing starts in `in_view`, in list order: at the last triangle that
// covers the window, whose opaque fill paints over every pixel that the
// triangles before it (and the backdrop, the blobs and the crates) drew.
// Its fill is opaque when the texture is: the corner colours are given
// without alpha, which GL takes as 1, and the game blends only by source
// alpha.
std::size_t first_not_painted_over(const std::vector<const primitive*>& in_view) {
  for (std::size_t k = in_view.size(); k-- > 0;)
    if (covers_window(*in_view[k])) return k;
  return 0;
}

// Same corners in the same order, same colours: the same fragments.
bool same_triangle(const primitive& a, const primitive& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.x3 == b.x3 &&
         a.y3 == b.y3 && a.r1 == b.r1 && a.g1 == b.g1 && a.b1 == b.b1 && a.r2 == b.r2 &&
         a.g2 == b.g2 && a.b2 == b.b2 && a.r3 == b.r3 && a.g3 == b.g3 && a.b3 == b.b3;
}

// A run of copies of one triangle, as a level file can hold ten thousand
// times over: with an opaque fill, the last copy's fill paints over every
// pixel the earlier fills drew, and the outlines that reach beyond it
// change those pixels no more after `repeats` of them. So the last fill
// and the last `repeats` outlines draw the very picture of all of them.
void choose_copies(const primitive* const* copies, std::size_t count, std::size_t repeats,
                   std::vector<terrain_stroke>& strokes) {
  for (std::size_t k = count - std::min(count, repeats); k + 1 < count; ++k)
    strokes.push_back({copies[k], false});
  strokes.push_back({copies[count - 1], true});
}
}  // namespace

bool terrain_triangle_shown(const primitive& p) { return p.drawn && !beyond_view(p); }

void choose_terrain_strokes(std::vector<const primitive*>& near_view, const terrain_window& window,
                            std::vector<terrain_stroke>& strokes) {
  strokes.clear();
  near_view.erase(std::remove_if(near_view.begin(), near_view.end(),
                                 [](const primitive* p) { return !terrain_triangle_shown(*p); }),
                  near_view.end());
  if (window.exact_view) leave_out_what_misses_the_window(near_view);
  if (!window.opaque) {
    for (const primitive* p : near_view) strokes.push_back({p, true});
    return;
  }
  std::size_t first = window.exact_view ? first_not_painted_over(near_view) : 0;
  for (std::size_t k = first, end = k; k < near_view.size(); k = end) {
    while (end < near_view.size() && same_triangle(*near_view[end], *near_view[k])) ++end;
    choose_copies(near_view.data() + k, end - k, window.outline_repeats, strokes);
  }
}
