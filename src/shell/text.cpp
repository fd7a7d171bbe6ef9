#include "shell/text.h"

#include <cmath>

#include "shell/view.h"

GLuint tex_font = 0;

namespace {
constexpr int GLYPH_SIZE = 32;   // pixels on screen, both ways
constexpr int PEN_ADVANCE = 16;  // pixels; quads overlap by half
constexpr int CELLS_PER_ROW = 14;
constexpr double CELL = 0.0625;      // 32 / 512 of the picture
constexpr double GAP = 0.001953125;  // 1 / 512: one pixel between cells

void draw_glyph(double pen_x, double pen_y, char ch, int size) {
  // The font starts at "0"; lower codes (punctuation, space) and codes above
  // 127 (negative as signed chars) give negative rows, which the texture's
  // repeat wraps to rows counted up from the picture's bottom edge.
  int index = static_cast<signed char>(ch) - '0';
  int row = static_cast<int>(std::floor(index / static_cast<double>(CELLS_PER_ROW)));
  int column = index - CELLS_PER_ROW * row;
  double s0 = column * CELL + column * GAP;
  double t0 = row * CELL + row * GAP;
  double s1 = s0 + CELL;
  double t1 = t0 + CELL;
  glBindTexture(GL_TEXTURE_2D, tex_font);
  glBegin(GL_QUADS);
  glTexCoord2f(static_cast<float>(s0), static_cast<float>(t0));
  screen_vertex(pen_x, pen_y);
  glTexCoord2f(static_cast<float>(s1), static_cast<float>(t0));
  screen_vertex(pen_x + size, pen_y);
  glTexCoord2f(static_cast<float>(s1), static_cast<float>(t1));
  screen_vertex(pen_x + size, pen_y + size);
  glTexCoord2f(static_cast<float>(s0), static_cast<float>(t1));
  screen_vertex(pen_x, pen_y + size);
  glEnd();
}
}  // namespace

void draw_text(int x, int y, const char* text) {
  draw_text_sized(x, y, text, GLYPH_SIZE, PEN_ADVANCE);
}

void draw_text_sized(int x, int y, const char* text, int size, int advance) {
  glColor4ub(255, 255, 255, 255);
  double pen_x = x;
  double pen_y = y;
  for (const char* c = text; *c != '\n' && *c != '\0'; ++c) {
    draw_glyph(pen_x, pen_y, *c, size);
    pen_x += advance;
  }
}
