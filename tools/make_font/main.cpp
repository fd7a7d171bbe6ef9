// make_font: renders the game's bitmap font picture from a TrueType font.
//
//   make_font FONT.ttf OUTPUT.pam
//
// Writes a 512x512 RGBA picture in PAM form with every printable ASCII
// character in its cell of the game's text grid; tools/make_art.sh turns it
// into data/images/font.png.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "font_atlas.h"
#include "font_face.h"
#include "shell/version.h"

namespace {

// Glyph size handed to FreeType. The width keeps the widest glyph ('W', 'M')
// inside the 16-pixel inked part of a cell; the height is stretched a little
// beyond it so that lower-case letters read well in the 32-pixel-tall quads.
constexpr int glyph_pixel_width = 24;   // pixels per em, horizontally
constexpr int glyph_pixel_height = 26;  // pixels per em, vertically

constexpr char first_printable = ' ';
constexpr char last_printable = '~';

std::vector<font_glyph> render_printable(font_face& face) {
  std::vector<font_glyph> glyphs;
  for (char code = first_printable; code <= last_printable; ++code)
    glyphs.push_back({code, face.render(code)});
  return glyphs;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "usage: make_font FONT.ttf OUTPUT.pam\n";
  if (answered_version(argc, argv, "make_font")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (argc != 3) {
    std::fputs(usage, stderr);
    return 2;
  }
  font_face face(argv[1], glyph_pixel_width, glyph_pixel_height);
  if (!face.ok()) {
    std::fprintf(stderr, "make_font: cannot open font: %s (%s)\n", face.error().c_str(), argv[1]);
    return 1;
  }
  std::vector<font_glyph> glyphs = render_printable(face);
  pen_in_cell pen{};
  std::string problem = place_pen(glyphs, &pen);
  if (!problem.empty()) {
    std::fprintf(stderr, "make_font: glyphs do not fit the cells: %s (%s)\n", problem.c_str(),
                 argv[1]);
    return 1;
  }
  problem = write_pam(argv[2], draw_font_picture(glyphs, pen));
  if (!problem.empty()) {
    std::fprintf(stderr, "make_font: cannot write picture: %s (%s)\n", problem.c_str(), argv[2]);
    return 1;
  }
  return 0;
}
