// Glyph layout for make_font; see font_atlas.h.
#include "font_atlas.h"

#include <algorithm>
#include <climits>

#include "font_grid.h"

namespace {

// The union of all glyphs' ink boxes relative to the pen, y upwards.
struct ink_extent {
  int left = INT_MAX, right = INT_MIN;   // pixels from the pen
  int above = INT_MIN, below = INT_MIN;  // pixels above / below the baseline
  char widest_left = 0, widest_right = 0, tallest = 0, deepest = 0;
};

ink_extent measure(const std::vector<font_glyph>& glyphs) {
  ink_extent ink;
  for (const font_glyph& g : glyphs) {
    const glyph_bitmap& b = g.bitmap;
    if (b.width == 0 || b.height == 0) continue;
    if (b.left < ink.left) {
      ink.left = b.left;
      ink.widest_left = g.code;
    }
    if (b.left + b.width > ink.right) {
      ink.right = b.left + b.width;
      ink.widest_right = g.code;
    }
    if (b.top > ink.above) {
      ink.above = b.top;
      ink.tallest = g.code;
    }
    if (b.height - b.top > ink.below) {
      ink.below = b.height - b.top;
      ink.deepest = g.code;
    }
  }
  return ink;
}

std::string quoted(char code) { return std::string("'") + code + "'"; }

}  // namespace

std::string place_pen(const std::vector<font_glyph>& glyphs, pen_in_cell* pen) {
  ink_extent ink = measure(glyphs);
  if (ink.left > ink.right) return "no glyph has any ink";
  int width = ink.right - ink.left;
  if (width > font_grid::ink_width)
    return "ink spans " + std::to_string(width) + " pixels (from " + quoted(ink.widest_left) +
           " to " + quoted(ink.widest_right) + "), a cell allows " +
           std::to_string(font_grid::ink_width);
  int height = ink.above + ink.below;
  if (height > font_grid::cell_size)
    return "ink spans " + std::to_string(height) + " rows (from " + quoted(ink.tallest) + " to " +
           quoted(ink.deepest) + "), a cell allows " + std::to_string(font_grid::cell_size);
  pen->x = (font_grid::ink_width - width) / 2 - ink.left;
  pen->baseline = (font_grid::cell_size - height) / 2 + ink.above;
  return "";
}

rgba_picture draw_font_picture(const std::vector<font_glyph>& glyphs, pen_in_cell pen) {
  // Ink is white; texels without ink are black and fully transparent. A
  // level with nothing in it that switches blending on draws the caption
  // opaque: white letters on black still read there, where white see-through
  // texels would make a solid white bar.
  rgba_picture picture(font_grid::picture_size, font_grid::picture_size);

  for (const font_glyph& g : glyphs) {
    font_grid::cell_origin cell = font_grid::cell_of(g.code);
    const glyph_bitmap& b = g.bitmap;
    int origin_x = cell.left + pen.x + b.left;
    int origin_y = cell.top + pen.baseline - b.top;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x) {
        std::uint8_t alpha = b.at(x, y);
        if (alpha == 0) continue;
        std::uint8_t* texel = picture.pixel(origin_x + x, origin_y + y);
        std::fill_n(texel, 3, std::uint8_t{255});
        texel[3] = alpha;
      }
  }
  return picture;
}
