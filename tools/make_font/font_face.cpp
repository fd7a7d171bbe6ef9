// FreeType wrapper for make_font; see font_face.h.
#include "font_face.h"

#include <ft2build.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include FT_FREETYPE_H

font_face::font_face(const std::string& path, int pixel_width, int pixel_height) {
  if (FT_Init_FreeType(&library_) != 0) {
    error_ = "FreeType could not be initialised";
    return;
  }
  if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
    face_ = nullptr;
    error_ = "not a readable font file";
    // FreeType's own error says only that it could not open the file; the
    // system says why.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) error_ = std::strerror(errno);
    if (file) std::fclose(file);
    return;
  }
  if (FT_Set_Pixel_Sizes(face_, pixel_width, pixel_height) != 0)
    error_ = "the font cannot be set to the requested size";
}

font_face::~font_face() {
  if (face_) FT_Done_Face(face_);
  if (library_) FT_Done_FreeType(library_);
}

glyph_bitmap font_face::render(char code) {
  glyph_bitmap glyph;
  FT_UInt index = FT_Get_Char_Index(face_, static_cast<unsigned char>(code));
  if (index == 0) return glyph;
  // Light hinting snaps stems vertically only, which keeps the letters'
  // proportions while making horizontal strokes crisp at this small size.
  if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_LIGHT) != 0) return glyph;
  if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;

  const FT_Bitmap& bitmap = face_->glyph->bitmap;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.left = face_->glyph->bitmap_left;
  glyph.top = face_->glyph->bitmap_top;
  glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
  for (int y = 0; y < glyph.height; ++y)
    for (int x = 0; x < glyph.width; ++x)
      glyph.coverage[y * glyph.width + x] = bitmap.buffer[y * bitmap.pitch + x];
  return glyph;
}
