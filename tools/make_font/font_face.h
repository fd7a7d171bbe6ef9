// One font file opened through FreeType at a fixed pixel size, handing out
// anti-aliased coverage bitmaps of single characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// A rendered character: coverage 0..255, rows top first, and where its ink
// sits relative to the pen position on the baseline (y grows downwards).
struct glyph_bitmap {
  int width = 0;   // pixels
  int height = 0;  // pixels
  int left = 0;    // pixels from the pen to the ink's left edge
  int top = 0;     // pixels from the baseline up to the ink's top row
  std::vector<std::uint8_t> coverage;

  std::uint8_t at(int x, int y) const { return coverage[y * width + x]; }
};

class font_face {
 public:
  // Opens the font; on failure ok() is false and error() says why.
  font_face(const std::string& path, int pixel_width, int pixel_height);
  ~font_face();
  font_face(const font_face&) = delete;
  font_face& operator=(const font_face&) = delete;

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // Renders one character; an empty bitmap for characters without ink
  // (space) and for characters the font lacks.
  glyph_bitmap render(char code);

 private:
  FT_LibraryRec_* library_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
  std::string error_;
};
