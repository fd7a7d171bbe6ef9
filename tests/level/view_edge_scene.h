// Triangles along one edge of the view, for the tests of what the terrain
// drawing leaves out: a line through the world, and views that put it from
// 5 pixels inside to 5 pixels beyond that edge. Before it: a triangle over
// everything, then one that lies beyond the line (and so shows in the
// window only while the line is inside the view). At the line, one that
// covers all of the window's side of it, and so the whole window once the
// line lies beyond the edge; last, a small one in the window.
#pragma once

#include <utility>

#include "level/terrain.h"
#include "shell/view.h"

struct view_edge_scene {
  primitive* under;     // over everything, first
  primitive* beyond;    // beyond the line
  primitive* covering;  // the window's side of the line
  primitive* last;      // small, inside the window
};

enum view_edge { LEFT_EDGE, RIGHT_EDGE, TOP_EDGE, BOTTOM_EDGE };
constexpr view_edge VIEW_EDGES[] = {LEFT_EDGE, RIGHT_EDGE, TOP_EDGE, BOTTOM_EDGE};
constexpr int HOME_VIEW_X = -400, HOME_VIEW_Y = -300;

// A world point `in` pixels inward from the edge of the view at home,
// `along` it from the middle of the edge.
inline std::pair<int, int> from_edge(view_edge edge, int in, int along) {
  switch (edge) {
    case LEFT_EDGE:
      return {HOME_VIEW_X + in, along};
    case RIGHT_EDGE:
      return {HOME_VIEW_X + WINDOW_WIDTH - in, along};
    case TOP_EDGE:
      return {along, HOME_VIEW_Y + in};
    default:
      return {along, HOME_VIEW_Y + WINDOW_HEIGHT - in};
  }
}

inline primitive* triangle_from_edge(view_edge edge, int in1, int along1, int in2, int along2,
                                     int in3, int along3) {
  auto [x1, y1] = from_edge(edge, in1, along1);
  auto [x2, y2] = from_edge(edge, in2, along2);
  auto [x3, y3] = from_edge(edge, in3, along3);
  return addVertex(x1, y1, x2, y2, x3, y3);
}

// The line is the edge of the view at home.
inline view_edge_scene make_view_edge_scene(view_edge edge) {
  view_edge_scene s;
  s.under = addVertex(-5000, -5000, 9000, -5000, -5000, 9000);
  s.beyond = triangle_from_edge(edge, 0, -20000, 0, 20000, -40000, 0);
  s.covering = triangle_from_edge(edge, 0, -20000, 0, 20000, 40000, 0);
  s.last = addVertex(0, 0, 40, 0, 0, 40);
  return s;
}

// Sets the view so that the scene's line lies `d` pixels inside the edge
// (beyond it when `d` is negative).
inline void view_with_line_inside(view_edge edge, int d) {
  view_x = HOME_VIEW_X + (edge == LEFT_EDGE ? -d : edge == RIGHT_EDGE ? d : 0);
  view_y = HOME_VIEW_Y + (edge == TOP_EDGE ? -d : edge == BOTTOM_EDGE ? d : 0);
}
