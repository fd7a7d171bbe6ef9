#include "level_render.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "files/data_path.h"
#include "files/utf8_paths.h"
#include "level/container.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "private_display.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"

namespace fs = std::filesystem;

namespace {
constexpr int MARGIN = 32;           // pixels of backdrop around the level
constexpr int BLOB_REACH = 20 + 16;  // pixels from a blob's centre: rim, or the edge of its face
constexpr int BACKDROP_TOP_BLUE =
    128;  // the game's backdrop runs from this blue at the top to black

void grow(world_box& box, int left, int top, int right, int bottom) {
  box.left = std::min(box.left, left);
  box.top = std::min(box.top, top);
  box.right = std::max(box.right, right);
  box.bottom = std::max(box.bottom, bottom);
}
}  // namespace

world_box picture_bounds(const level_data& level) {
  world_box box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const level_triangle& t : level.triangles)
    for (const level_vertex& v : t.v) grow(box, v.x, v.y, v.x, v.y);
  for (const level_object& o : level.objects) {
    if (o.type == TYPE_PLATFORM)
      grow(box, o.x, o.y - 1, o.x + PLATFORM_WIDTH, o.y + PLATFORM_HEIGHT);
    if (o.type >= TYPE_BLOB_FIRST && o.type <= TYPE_BLOB_LAST)
      grow(box, o.x - BLOB_REACH, o.y - BLOB_REACH, o.x + BLOB_REACH, o.y + BLOB_REACH);
  }
  if (box.left > box.right)
    return {-WINDOW_WIDTH / 2, -WINDOW_HEIGHT / 2, WINDOW_WIDTH / 2 - 1, WINDOW_HEIGHT / 2 - 1};
  return {box.left - MARGIN, box.top - MARGIN, box.right + MARGIN, box.bottom + MARGIN};
}

namespace {
// SDL, the window and the game's objects for as long as the drawing lasts.
class drawing_session {
 public:
  ~drawing_session() {
    destroy_all_instances();
    freeCollisions();
    if (sdl_started_) SDL_Quit();
    view_scale = 1;
    set_data_folder("");
    origins_ = nullptr;
  }

  // Opens the window and makes the level's objects as the game's start-up
  // does, then runs its first step pass. Objects made before the window
  // exists load no pictures: without a folder of pictures the level is drawn
  // in its plain colours. Notes about the drawing are added only when there
  // is a window to draw in.
  bool open(const render_request& request, render_result& result, std::string& why) {
    if (!display_.prepare(why)) return false;
    sdl_started_ = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0;
    std::vector<std::string> drawing_notes;
    bool pictures = sdl_started_ && use_data_folders(request, result, drawing_notes);
    if (sdl_started_ && !pictures) load(request);
    if (!sdl_started_ || !open_game_window()) {
      why = "cannot open an OpenGL window on " + private_display::name() + ": " + SDL_GetError();
      return false;
    }
    set_fixed_gl_state();
    if (pictures) load(request);
    result.notes.insert(result.notes.end(), drawing_notes.begin(), drawing_notes.end());
    return true;
  }

 private:
  void load(const render_request& request) {
    set_level_bytes(request.level, request.level_path);
    instance_create(0, 0, TYPE_CONTAINER);
    step_pass();
  }

  // The game opens its pictures relative to its data folders. False when
  // there are none to open.
  bool use_data_folders(const render_request& request, render_result& result,
                        std::vector<std::string>& notes) {
    std::error_code error;
    bool any = false;
    for (const std::string& folder : request.data_dirs)
      any = any || fs::is_directory(file_path(folder) / "images", error);
    if (!any) {
      std::string folders = request.data_dirs.empty() ? "." : request.data_dirs.back();
      notes.push_back("no images folder in " + folders + ": drawn without pictures");
      return false;
    }
    origins_ = &result.origins;
    set_data_folders(request.data_dirs, collect_origin);
    return true;
  }

  static void collect_origin(const std::string& file, const std::string& folder) {
    if (origins_) origins_->push_back(data_origin_line(file, folder));
  }

  static inline std::vector<std::string>* origins_ = nullptr;

  private_display display_;
  bool sdl_started_ = false;
};

// Window pixels that a tile's world pixels from `from` to `to` (its edge)
// take at view_scale: the last pixel may show fewer world pixels.
int window_pixels(int from, int to) { return (to + 1 - from + view_scale - 1) / view_scale; }

// The slice of the picture-wide backdrop gradient that this tile covers,
// drawn over the tile's rows that lie in the picture (GL clamps vertex
// colours, so the gradient cannot be carried on past the picture's edge).
void draw_backdrop_slice(const world_box& box) {
  auto blue_at = [&box](int world_y) {
    double share = static_cast<double>(world_y - box.top) / box.height();
    return static_cast<float>(BACKDROP_TOP_BLUE * (1 - share) / 255);
  };
  int rows = std::min(WINDOW_HEIGHT, window_pixels(view_y, box.bottom));
  float bottom_y = -2.0f * rows / WINDOW_HEIGHT;  // GL units: the window's height is 2
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_QUADS);
  glColor3f(0, 0, blue_at(view_y));
  glVertex2f(0, 0);
  glColor3f(0, 0, blue_at(view_y + rows * view_scale));
  glVertex2f(0, bottom_y);
  glVertex2f(2, bottom_y);
  glColor3f(0, 0, blue_at(view_y));
  glVertex2f(2, 0);
  glEnd();
}

// The drawing half of a game tick, with the view on one tile; the frame
// is scaled down by view_scale after the backdrop, which is drawn in
// window pixels.
void draw_tile(const world_box& box) {
  begin_frame();
  draw_backdrop_slice(box);
  const GLfloat scale = 1.0f / static_cast<GLfloat>(view_scale);
  if (view_scale > 1) glScalef(scale, scale, 1);
  draw_pass();
  glDisable(GL_TEXTURE_2D);
}

// Reads the window's back buffer (rows bottom-up) into `tile`, top row
// first, keeping the top-left `tile.width` x `tile.height` pixels.
void read_tile(std::vector<std::uint8_t>& frame, rgb_image& tile) {
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
  tile.pixels.resize(static_cast<std::size_t>(tile.width) * tile.height * 3);
  for (int row = 0; row < tile.height; ++row)
    std::memcpy(&tile.pixels[static_cast<std::size_t>(row) * tile.width * 3],
                &frame[static_cast<std::size_t>(WINDOW_HEIGHT - 1 - row) * WINDOW_WIDTH * 3],
                static_cast<std::size_t>(tile.width) * 3);
}

// Copies `part` into the picture with its top-left pixel at (left, top).
void paste(const rgb_image& part, int left, int top, rgb_image& image) {
  for (int row = 0; row < part.height; ++row)
    std::memcpy(&image.pixels[(static_cast<std::size_t>(top + row) * image.width + left) * 3],
                &part.pixels[static_cast<std::size_t>(row) * part.width * 3],
                static_cast<std::size_t>(part.width) * 3);
}

long long shrunk_side(int side, int shrink) { return (side + shrink - 1) / shrink; }

bool bounds_of_level(const render_request& request, world_box& box, std::string& why) {
  box = picture_bounds(parse_level(request.level.data(), request.level.size()));
  long long width = box.width(), height = box.height();
  if (shrunk_side(box.width(), request.shrink) * shrunk_side(box.height(), request.shrink) <=
      PICTURE_PIXELS_MAX)
    return true;
  int enough = request.shrink;
  while (shrunk_side(box.width(), enough) * shrunk_side(box.height(), enough) > PICTURE_PIXELS_MAX)
    ++enough;
  why = "the level spans " + std::to_string(width) + " x " + std::to_string(height) +
        " pixels; render makes pictures of at most " +
        std::to_string(PICTURE_PIXELS_MAX / 1'000'000) + " million pixels (--shrink " +
        std::to_string(enough) + " makes it small enough)";
  return false;
}

// The world pixels render draws at full size, shrinking the tiles itself:
// a shrunk picture of a larger level is drawn at its own scale instead, so
// the work follows the picture's size rather than the level's. (A level
// 65,000 pixels square at --shrink 16 is some 8,900 full-size tiles, and
// random huge triangles cover each many times over: minutes of drawing.)
constexpr long long FULL_SIZE_PIXELS_MAX = 4 * PICTURE_PIXELS_MAX;

// World pixels a window pixel shows while drawing: 1, or the shrink factor
// when full size would be too much, said in a note.
int drawing_scale(const world_box& box, int shrink, std::vector<std::string>& notes) {
  if (shrink == 1 || 1LL * box.width() * box.height() <= FULL_SIZE_PIXELS_MAX) return 1;
  notes.push_back(
      "the level spans " + std::to_string(box.width()) + " x " + std::to_string(box.height()) +
      " pixels, more than the " + std::to_string(FULL_SIZE_PIXELS_MAX / 1'000'000) +
      " million render draws at full size to shrink: drawn at 1/" + std::to_string(shrink) +
      " of its size instead, so outlines and small shapes look coarser");
  return shrink;
}
}  // namespace

// Drawn at full size, the tiles are whole multiples of the shrink factor in
// size, so each one shrinks on its own into whole pixels of the picture,
// exactly as the whole picture would: the full-size picture is never held.
// Drawn at the picture's own scale, each tile is a piece of the picture.
bool render_level(const render_request& request, render_result& result, std::string& why) {
  world_box box{};
  if (!bounds_of_level(request, box, why)) return false;
  drawing_session session;
  if (!session.open(request, result, why)) return false;
  const int s = request.shrink;
  view_scale = drawing_scale(box, s, result.notes);
  const int after = s / view_scale;                            // the shrink left to do tile by tile
  const int tile_width = WINDOW_WIDTH - WINDOW_WIDTH % after,  // window pixels
      tile_height = WINDOW_HEIGHT - WINDOW_HEIGHT % after;
  rgb_image& image = result.image;
  image.width = static_cast<int>(shrunk_side(box.width(), s));
  image.height = static_cast<int>(shrunk_side(box.height(), s));
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3, 0);
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(WINDOW_WIDTH) * WINDOW_HEIGHT * 3);
  rgb_image tile;
  for (view_y = box.top; view_y <= box.bottom; view_y += tile_height * view_scale)
    for (view_x = box.left; view_x <= box.right; view_x += tile_width * view_scale) {
      draw_tile(box);
      tile.width = std::min(tile_width, window_pixels(view_x, box.right));
      tile.height = std::min(tile_height, window_pixels(view_y, box.bottom));
      read_tile(frame, tile);
      paste(shrunk(tile, after), (view_x - box.left) / s, (view_y - box.top) / s, image);
    }
  return true;
}
