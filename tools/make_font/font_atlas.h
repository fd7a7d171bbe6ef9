// Lays the printable ASCII characters out on the game's font grid, all on one
// baseline, their ink (taken together) centred in the part of a cell that the
// next glyph does not overdraw; white ink whose alpha is the glyph's coverage.
#pragma once

#include <string>
#include <vector>

#include "font_face.h"
#include "rgba_picture.h"

struct font_glyph {
  char code;
  glyph_bitmap bitmap;
};

// Where the pen stands inside every cell, in pixels from the cell's top-left.
// One placement for all glyphs keeps them on a common baseline.
struct pen_in_cell {
  int x;
  int baseline;
};

// Finds the pen position that centres the ink of all glyphs, taken together,
// in the inked part of a cell. Returns an empty string, or why the glyphs do
// not fit (naming the widest or tallest character).
std::string place_pen(const std::vector<font_glyph>& glyphs, pen_in_cell* pen);

// Draws every glyph into its cell of a fresh picture. White everywhere, so
// that linear filtering at glyph edges blends towards white, not black; the
// alpha channel carries the ink.
rgba_picture draw_font_picture(const std::vector<font_glyph>& glyphs, pen_in_cell pen);
