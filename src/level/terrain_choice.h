// What a frame of terrain draws, chosen without GL: which of the triangles
// near the view show in the window, and which of those a later one paints
// over. draw_terrain (container.h) draws what is chosen here; tests count it.
#pragma once

#include <cstddef>
#include <vector>

struct primitive;

// One thing to draw: the triangle filled and outlined, or its outline alone.
struct terrain_stroke {
  const primitive* p;
  bool fill;
};

// What the window shows and how the picture blends.
struct terrain_window {
  bool exact_view;              // the window shows the view and nothing else (no zoom)
  bool opaque;                  // the terrain picture lets nothing show through
  std::size_t outline_repeats;  // how many times one outline drawn over itself can change a pixel
};

// Fills `strokes`, in drawing order, from `near_view`: the drawn triangles
// whose boxes may meet the view, in list order, which it rearranges. The
// picture drawn is the one drawing every shown triangle gives. Both vectors
// keep their capacity, so a caller that reuses them allocates nothing once
// they are large enough.
void choose_terrain_strokes(std::vector<const primitive*>& near_view, const terrain_window& window,
                            std::vector<terrain_stroke>& strokes);

// Whether the terrain drawing shows the triangle: drawn, and not wholly
// beyond one side of the view.
bool terrain_triangle_shown(const primitive& p);
