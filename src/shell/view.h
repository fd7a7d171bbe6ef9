// The view: the world position of the window's top-left corner, and the
// mapping of world pixels to GL vertices under the per-tick frame (identity
// translated by (-1, 1, 0)), where (0, 0) is the window's top-left corner and
// (2, -2) its bottom-right.
#pragma once

constexpr int WINDOW_WIDTH = 800;   // pixels
constexpr int WINDOW_HEIGHT = 600;  // pixels

extern int view_x;  // world x of the window's left edge
extern int view_y;  // world y of the window's top edge

// World pixels that one window pixel shows: 1 in the game. leveltool render
// draws a shrunk picture of a level too large to draw whole at this scale,
// with the frame scaled down to match, so the view then spans
// WINDOW_WIDTH * view_scale by WINDOW_HEIGHT * view_scale world pixels.
extern int view_scale;

// The view's far edges, in world pixels.
inline int view_right() { return view_x + WINDOW_WIDTH * view_scale; }
inline int view_bottom() { return view_y + WINDOW_HEIGHT * view_scale; }

// Emits glVertex2f for a world point through the view.
void world_vertex(double wx, double wy);

// Emits glVertex2f for a window pixel, fixed to the screen.
void screen_vertex(double px, double py);
