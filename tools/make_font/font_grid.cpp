// Cell placement for the font picture; see font_grid.h.
#include "font_grid.h"

namespace font_grid {

// Floor division: row -1 must hold indices -14..-1, which C++'s truncating
// division would put in row 0.
static int floor_div(int value, int divisor) {
  int quotient = value / divisor;
  if (value % divisor != 0 && value < 0) --quotient;
  return quotient;
}

cell_origin cell_of(char code) {
  int index = static_cast<signed char>(code) - first_code;
  int row = floor_div(index, cells_per_row);
  int column = index - row * cells_per_row;
  int top = row * cell_pitch;
  if (row < 0) top += picture_size;  // wrapped by the texture's repeat mode
  return {column * cell_pitch, top};
}

}  // namespace font_grid
