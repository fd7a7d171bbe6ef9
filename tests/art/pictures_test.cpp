// Checks the shipped pictures in data/images for what the game's drawing
// relies on: sizes and pixel layouts its texture upload handles, the font's
// cell grid and transparency, faces that fit on a blob, a portrait that looks
// right with or without blending, and textures that repeat without seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "font_grid.h"
#include "shipped_picture.h"

namespace {

shipped_picture load(const std::string& name) {
  shipped_picture picture(name);
  EXPECT_TRUE(picture.loaded()) << picture.error();
  return picture;
}

bool power_of_two(int n) { return n > 0 && (n & (n - 1)) == 0; }

std::string where(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

TEST(shipped_pictures, decode_to_sizes_and_layouts_the_game_uploads) {
  struct expectation {
    const char* name;
    int bytes_per_pixel;  // 4 where the ground must be see-through
  };
  const expectation pictures[] = {
      {"font.png", 4},         {"eyes_anx.png", 4}, {"mouth.png", 4},
      {"hud_Portrait.png", 4}, {"tex_snow.png", 3}, {"crate.jpg", 3},
  };
  for (const expectation& e : pictures) {
    SCOPED_TRACE(e.name);
    shipped_picture picture = load(e.name);
    if (!picture.loaded()) continue;
    EXPECT_TRUE(power_of_two(picture.width())) << picture.width();
    EXPECT_TRUE(power_of_two(picture.height())) << picture.height();
    EXPECT_EQ(picture.bytes_per_pixel(), e.bytes_per_pixel);
  }
  shipped_picture font = load("font.png");
  EXPECT_EQ(font.width(), font_grid::picture_size);
  EXPECT_EQ(font.height(), font_grid::picture_size);
  shipped_picture portrait = load("hud_Portrait.png");
  EXPECT_EQ(portrait.width(), portrait.height()) << "the portrait is drawn as a square";
  shipped_picture crate = load("crate.jpg");
  EXPECT_EQ(crate.width(), crate.height()) << "each copy across a crate shows a square face";
}

// ---- font ---------------------------------------------------------------

constexpr char first_printable = ' ';
constexpr char last_printable = '~';

// The top-left texel the text drawing samples for a character: texture
// coordinates of 1/16 per cell plus 1/512 between cells, wrapped into 0..1
// by the texture's repeat mode.
font_grid::cell_origin sampled_cell(char code) {
  int index = static_cast<signed char>(code) - '0';
  int row = static_cast<int>(std::floor(index / 14.0));
  int column = index - row * 14;
  double s = column * 0.0625 + column * 0.001953125;
  double t = row * 0.0625 + row * 0.001953125;
  t -= std::floor(t);
  return {static_cast<int>(std::lround(s * 512)), static_cast<int>(std::lround(t * 512))};
}

TEST(font_picture, glyphs_are_drawn_where_the_text_drawing_samples) {
  for (char code = first_printable; code <= last_printable; ++code) {
    font_grid::cell_origin drawn = font_grid::cell_of(code);
    font_grid::cell_origin sampled = sampled_cell(code);
    EXPECT_EQ(drawn.left, sampled.left) << "character '" << code << "'";
    EXPECT_EQ(drawn.top, sampled.top) << "character '" << code << "'";
  }
  // Two landmarks of the grid: "/" ends the bottom row, space is in the row above.
  EXPECT_EQ(font_grid::cell_of('/').top, 479);
  EXPECT_EQ(font_grid::cell_of('/').left, 13 * 33);
  EXPECT_EQ(font_grid::cell_of(' ').top, 446);
}

int max_alpha_in_cell(const shipped_picture& font, char code) {
  font_grid::cell_origin cell = font_grid::cell_of(code);
  int most = 0;
  for (int y = 0; y < font_grid::cell_size; ++y)
    for (int x = 0; x < font_grid::cell_size; ++x)
      most = std::max(most, font.at(cell.left + x, cell.top + y).a);
  return most;
}

TEST(font_picture, every_printable_character_has_ink_and_space_has_none) {
  shipped_picture font = load("font.png");
  ASSERT_TRUE(font.loaded());
  EXPECT_EQ(max_alpha_in_cell(font, ' '), 0) << "a space must show as a gap";
  for (char code = first_printable + 1; code <= last_printable; ++code)
    EXPECT_GT(max_alpha_in_cell(font, code), 200) << "character '" << code << "' has no solid ink";
}

// Only the left part of each printable cell may hold ink: the next glyph is
// drawn over the right part, the gaps keep filtering from mixing cells, and
// the rest of the picture must stay clear.
TEST(font_picture, ink_stays_in_the_left_part_of_its_cell) {
  shipped_picture font = load("font.png");
  ASSERT_TRUE(font.loaded());
  std::vector<bool> inkable(static_cast<size_t>(font.width()) * font.height(), false);
  for (char code = first_printable; code <= last_printable; ++code) {
    font_grid::cell_origin cell = font_grid::cell_of(code);
    for (int y = 0; y < font_grid::cell_size; ++y)
      for (int x = 0; x < font_grid::ink_width; ++x)
        inkable[static_cast<size_t>(cell.top + y) * font.width() + cell.left + x] = true;
  }
  for (int y = 0; y < font.height(); ++y)
    for (int x = 0; x < font.width(); ++x)
      if (!inkable[static_cast<size_t>(y) * font.width() + x]) {
        ASSERT_EQ(font.at(x, y).a, 0) << "stray ink at " << where(x, y);
      }
}

TEST(font_picture, ink_is_white) {
  shipped_picture font = load("font.png");
  ASSERT_TRUE(font.loaded());
  for (int y = 0; y < font.height(); ++y)
    for (int x = 0; x < font.width(); ++x) {
      rgba p = font.at(x, y);
      if (p.a == 0) continue;
      ASSERT_TRUE(p.r == 255 && p.g == 255 && p.b == 255) << "coloured ink at " << where(x, y);
    }
}

// ---- blob face ------------------------------------------------------------

// The face pictures cover a 32x32 world-pixel square centred on the blob; the
// mouth's square is 6 world pixels lower. At rest the features must lie on
// the body, a disc of radius 20.
constexpr double face_square = 32;  // world pixels
constexpr double mouth_drop = 6;    // world pixels
constexpr double blob_radius = 20;  // world pixels

struct ink_summary {
  int opaque_pixels = 0;
  double mean_y = 0;                // world pixels below the blob's centre
  double farthest_from_centre = 0;  // world pixels
};

ink_summary face_ink(const shipped_picture& picture, double drop) {
  ink_summary ink;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y).a < 128) continue;
      double wx = (x + 0.5) * face_square / picture.width() - face_square / 2;
      double wy = (y + 0.5) * face_square / picture.height() - face_square / 2 + drop;
      ++ink.opaque_pixels;
      ink.mean_y += wy;
      ink.farthest_from_centre = std::max(ink.farthest_from_centre, std::hypot(wx, wy));
    }
  if (ink.opaque_pixels > 0) ink.mean_y /= ink.opaque_pixels;
  return ink;
}

void expect_clear_border(const shipped_picture& picture) {
  int w = picture.width(), h = picture.height();
  for (int i = 0; i < w; ++i) {
    ASSERT_EQ(picture.at(i, 0).a, 0) << where(i, 0);
    ASSERT_EQ(picture.at(i, h - 1).a, 0) << where(i, h - 1);
  }
  for (int i = 0; i < h; ++i) {
    ASSERT_EQ(picture.at(0, i).a, 0) << where(0, i);
    ASSERT_EQ(picture.at(w - 1, i).a, 0) << where(w - 1, i);
  }
}

TEST(face_pictures, sit_on_the_blob_on_a_transparent_ground) {
  shipped_picture eyes = load("eyes_anx.png");
  shipped_picture mouth = load("mouth.png");
  ASSERT_TRUE(eyes.loaded() && mouth.loaded());
  {
    SCOPED_TRACE("eyes_anx.png");
    expect_clear_border(eyes);
  }
  {
    SCOPED_TRACE("mouth.png");
    expect_clear_border(mouth);
  }
  ink_summary eyes_ink = face_ink(eyes, 0);
  ink_summary mouth_ink = face_ink(mouth, mouth_drop);
  ASSERT_GT(eyes_ink.opaque_pixels, 0);
  ASSERT_GT(mouth_ink.opaque_pixels, 0);
  EXPECT_LT(eyes_ink.farthest_from_centre, blob_radius);
  EXPECT_LT(mouth_ink.farthest_from_centre, blob_radius);
  EXPECT_GT(mouth_ink.mean_y, eyes_ink.mean_y + 5) << "the mouth must sit well below the eyes";
}

// ---- portrait and textures ----------------------------------------------

TEST(portrait_picture, is_opaque_so_it_shows_the_same_without_blending) {
  shipped_picture portrait = load("hud_Portrait.png");
  ASSERT_TRUE(portrait.loaded());
  for (int y = 0; y < portrait.height(); ++y)
    for (int x = 0; x < portrait.width(); ++x) ASSERT_EQ(portrait.at(x, y).a, 255) << where(x, y);
}

int channel_difference(rgba a, rgba b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Mean difference between column x and column x + 1 (wrapping), and the same
// for rows: a seam shows as a jump far above the texture's usual variation.
double column_step(const shipped_picture& p, int x) {
  double sum = 0;
  for (int y = 0; y < p.height(); ++y)
    sum += channel_difference(p.at(x, y), p.at((x + 1) % p.width(), y));
  return sum / p.height();
}

double row_step(const shipped_picture& p, int y) {
  double sum = 0;
  for (int x = 0; x < p.width(); ++x)
    sum += channel_difference(p.at(x, y), p.at(x, (y + 1) % p.height()));
  return sum / p.width();
}

double mean_interior_step(const shipped_picture& p, double (*step)(const shipped_picture&, int),
                          int count) {
  double sum = 0;
  for (int i = 0; i + 1 < count; ++i) sum += step(p, i);
  return sum / (count - 1);
}

// How much larger than the average step between neighbouring columns (rows)
// the step across the wrap may be. A seam from a tile that does not wrap is
// typically ten times the average; texture detail that happens to fall on
// the edge stays within about two.
constexpr double seam_tolerance = 3;

TEST(terrain_texture, is_light_and_repeats_without_seams) {
  shipped_picture snow = load("tex_snow.png");
  ASSERT_TRUE(snow.loaded());
  double brightness = 0;
  for (int y = 0; y < snow.height(); ++y)
    for (int x = 0; x < snow.width(); ++x) {
      rgba p = snow.at(x, y);
      brightness += (p.r + p.g + p.b) / 3.0;
    }
  brightness /= snow.width() * snow.height();
  EXPECT_GT(brightness, 215) << "the corner colours are multiplied by it, so it must stay light";

  double across = column_step(snow, snow.width() - 1);
  double down = row_step(snow, snow.height() - 1);
  EXPECT_LE(across, seam_tolerance * mean_interior_step(snow, column_step, snow.width()));
  EXPECT_LE(down, seam_tolerance * mean_interior_step(snow, row_step, snow.height()));
}

}  // namespace
