// Bitmap font text, fixed to the screen. The font picture is a grid of 32x32
// cells on a 33-pixel pitch, 14 cells a row, starting with "0" at the
// top-left; characters below "0" wrap to rows counted up from the bottom.
#pragma once

#include <GL/gl.h>

extern GLuint tex_font;

// Draws text from window pixel (x, y) (top-left of the first glyph) up to its
// first newline or its end. Each glyph is a 32x32 quad; the pen advances 16.
// Relies on texturing and blending already being enabled; leaves the colour
// opaque white and tex_font bound.
void draw_text(int x, int y, const char* text);

// The same with `size`-pixel glyphs and the pen advancing `advance` pixels.
void draw_text_sized(int x, int y, const char* text, int size, int advance);
