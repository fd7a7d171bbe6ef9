// What the terrain drawing draws, counted without a window: a triangle that
// a later one covering the window paints over is left out, a run of copies
// is drawn as its last fill and outlines, and nothing that shows in the
// window is left out, however close to an edge of the view it lies.
#include "level/terrain_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "level/terrain.h"
#include "shell/view.h"
#include "view_edge_scene.h"

namespace {
constexpr std::size_t REPEATS = 256;  // a window of 8 bits a channel

struct counted {
  std::vector<terrain_stroke> strokes;
  int fills() const {
    return static_cast<int>(std::count_if(strokes.begin(), strokes.end(),
                                          [](const terrain_stroke& s) { return s.fill; }));
  }
  int outlines() const { return static_cast<int>(strokes.size()); }  // a fill is outlined too
  bool filled(const primitive* p) const {
    return std::any_of(strokes.begin(), strokes.end(),
                       [p](const terrain_stroke& s) { return s.p == p && s.fill; });
  }
};

// Every drawn triangle of the list, as the index would hand them over.
counted choose(bool exact_view = true, bool opaque = true) {
  std::vector<const primitive*> near_view;
  for (const primitive* p = start_ptr; p; p = p->next)
    if (p->drawn) near_view.push_back(p);
  counted c;
  choose_terrain_strokes(near_view, {exact_view, opaque, REPEATS}, c.strokes);
  return c;
}
}  // namespace

TEST(TerrainChoice, WhatIsPaintedOverOrRepeatedIsLeftOut) {
  view_x = HOME_VIEW_X;
  view_y = HOME_VIEW_Y;
  addVertex(-100, -100, 100, -100, -100, 100);        // painted over by the next
  addVertex(-3000, -3000, 9000, -3000, -3000, 9000);  // covers the window
  addVertex(0, 0, 50, 0, 0, 50);                      // drawn over it
  addVertex(-5000, 0, -4000, 0, -4500, 100);          // beyond the left edge
  addVertex(-200, -5000, 200, -5000, 0, -4000)->drawn = false;
  for (int k = 0; k < 5; ++k) addVertex(10, 10, 60, 10, 10, 60);  // copies
  counted game = choose();
  EXPECT_EQ(game.fills(), 3) << "the covering one, the one over it, the last copy";
  EXPECT_EQ(game.outlines(), 7) << "and the outlines of the other four copies";
  EXPECT_EQ(choose(true, false).fills(), 8) << "a picture that lets the backdrop through";
  EXPECT_EQ(choose(false, true).fills(), 4) << "zoomed out, the window shows beyond the view";
  freeCollisions();
}

// A triangle's edge from 5 pixels inside to 5 beyond each edge of the view:
// what covers all but a sliver of the window covers nothing, what shows in a
// sliver is drawn, and only an edge well beyond the view covers it.
TEST(TerrainChoice, NothingThatShowsNearAnEdgeOfTheViewIsLeftOut) {
  for (view_edge edge : VIEW_EDGES) {
    view_edge_scene scene = make_view_edge_scene(edge);
    for (int d = -5; d <= 5; ++d) {
      if (d == 0) continue;
      view_with_line_inside(edge, d);
      counted c = choose();
      SCOPED_TRACE("edge " + std::to_string(edge) + ", the line " + std::to_string(d) +
                   " pixels inside");
      EXPECT_TRUE(c.filled(scene.covering) && c.filled(scene.last));
      EXPECT_EQ(c.filled(scene.beyond), d > 0) << "shown only while the line is inside";
      if (d >= -3) {
        EXPECT_TRUE(c.filled(scene.under)) << "a sliver of it shows";
      } else if (d == -5) {
        EXPECT_FALSE(c.filled(scene.under)) << "it is painted over";
      }
    }
    freeCollisions();
  }
}
