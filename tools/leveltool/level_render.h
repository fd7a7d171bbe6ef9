// Drawing a whole level into one picture with the game's own code. The level
// is loaded as the game loads it and stepped once, which is the state the
// game's first frame shows; then the world is drawn through the 800x600
// window tile by tile, with the view on each tile in turn (the terrain
// drawing leaves out triangles beyond the view), and the tiles are stitched.
// The screen-fixed parts (caption, portrait) are left out, and the backdrop's
// gradient runs once over the whole picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/level_file.h"
#include "png_file.h"

// World pixels, edges included.
struct world_box {
  int left, top, right, bottom;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

// What the picture of a level shows: its terrain, crates and blobs with a
// margin, or the first frame's view when the level is empty.
world_box picture_bounds(const level_data& level);

// The largest picture render makes, in pixels (three bytes each in memory),
// counted after shrinking.
constexpr long long PICTURE_PIXELS_MAX = 50'000'000;

struct render_request {
  std::string level_path;           // names the level in messages
  std::vector<std::uint8_t> level;  // the level file's bytes, as read or as built from a source
  // The game's data folders, each holding images/ or not: a picture is
  // taken from the first that holds it (files/data_path.h).
  std::vector<std::string> data_dirs;
  int shrink = 1;  // the picture is this many times smaller on each side (1..16)
};

struct render_result {
  rgb_image image;
  std::vector<std::string> notes;    // things the designer should know (pictures missing)
  std::vector<std::string> origins;  // a line for each picture taken from a folder but the last
};

// Draws the level. Uses DISPLAY, or an Xvfb of its own when DISPLAY is not
// set. False with one line of reason when it cannot.
bool render_level(const render_request& request, render_result& result, std::string& why);
