// Where each character's cell lies in the font picture. The game cuts glyphs
// out of a 512x512 picture as 32x32-pixel cells on a 33-pixel pitch (the
// 1-pixel gaps keep linear filtering from bleeding one glyph into the next),
// 14 cells to a row, with "0" in the top-left cell. Characters below "0" get
// negative rows, which the game reaches through the texture's repeat mode, so
// those rows count upwards from the picture's bottom edge.
#pragma once

namespace font_grid {

constexpr int picture_size = 512;  // pixels, square
constexpr int cell_size = 32;      // pixels, square
constexpr int cell_pitch = 33;     // pixels from one cell's left (top) to the next
constexpr int cells_per_row = 14;
constexpr int first_code = '0';  // the character in row 0, column 0

// The game draws each 32-pixel cell but moves its pen only this far, so only
// the left part of a cell may hold ink; the rest is overdrawn by the next glyph.
constexpr int ink_width = 16;  // pixels

struct cell_origin {
  int left;  // pixels from the picture's left edge
  int top;   // pixels from the picture's top row
};

// The cell the game samples for a character code, the code taken as a signed
// byte as the game does.
cell_origin cell_of(char code);

}  // namespace font_grid
