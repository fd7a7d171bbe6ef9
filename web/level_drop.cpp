// What the page calls when a file is dropped on it. The page has written the
// file into the in-memory file system; if the game can play it, it replaces
// the running level, and otherwise the level keeps running and the page shows
// the one line that says why. A file whose counts add up to its size is a
// level file and is played as it is; one that starts like JSON is a level
// source (the project's JSON or a Tiled map), built with the level tool's own
// readers first. JavaScript runs only while the game's loop sleeps between
// two ticks, so the world is never replaced in the middle of one.
#include <emscripten/emscripten.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "level/container.h"
#include "level/level_file.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "level_source.h"
#include "shell/file_bytes.h"
#include "shell/object.h"
#include "shell/view.h"

namespace {
// A built level source is played from here.
constexpr const char* BUILT_LEVEL = "/dropped-level-built.map";

std::string message;

// JSON starts with "{"; a Tiled map saved as XML with "<", which the readers
// refuse with advice.
bool is_level_source(const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes)
    if (!std::isspace(b)) return b == '{' || b == '<';
  return false;
}

std::string how_many(std::size_t n, const std::string& thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string counts(const level_data& level) {
  return how_many(level.triangles.size(), "triangle") + ", " +
         how_many(level.objects.size(), "object");
}

// The size of a level file whose counts are those of `level`.
std::size_t size_for_counts(const level_data& level) {
  return 4 + TRIANGLE_RECORD_BYTES * level.triangles.size() + 3 +
         OBJECT_RECORD_BYTES * level.objects.size();
}

// The game reads whatever whole records a file's counts allow, but a dropped
// file whose counts do not add up to its size is most likely not a level at
// all (a picture, a text file).
bool is_level_file(const std::vector<std::uint8_t>& bytes, const level_data& level) {
  return !level.truncated && level.vertex_count >= 0 && level.object_count >= 0 &&
         size_for_counts(level) == bytes.size();
}

bool playable(const level_data& level, const std::string& name) {
  if (level.triangles.empty() && level.objects.empty()) {
    message = name + ": the level holds no terrain and no objects";
    return false;
  }
  message = "Playing " + name + ": " + counts(level);
  return true;
}

bool build_level_source(const std::string& path, const std::string& name) {
  problem_list problems(name);
  level_data level;
  bool ok = load_level_source(path, level, problems);
  for (const std::string& note : problems.notes()) std::fprintf(stderr, "%s\n", note.c_str());
  if (!ok) {
    std::size_t more = problems.lines().size() - 1;
    message = problems.lines().front();
    if (more > 0) message += " (and " + std::to_string(more) + " more problems)";
    return false;
  }
  if (!playable(level, name)) return false;
  std::vector<std::uint8_t> built = encode_level(level);
  FILE* out = std::fopen(BUILT_LEVEL, "wb");
  bool written = out && std::fwrite(built.data(), 1, built.size(), out) == built.size();
  if (out && std::fclose(out) != 0) written = false;
  if (!written) message = name + ": the built level could not be stored";
  return written;
}

// The game's start-up for a new level, on an emptied world: the level object
// loads the file and makes every object, and the view starts centred on the
// world's origin.
void replace_world(const std::string& level_path) {
  destroy_all_instances();
  freeCollisions();
  set_level_file(level_path);
  view_x = 0;
  view_y = 0;
  instance_create(0, 0, TYPE_CONTAINER);
  view_x -= WINDOW_WIDTH / 2;
  view_y -= WINDOW_HEIGHT / 2;
}
}  // namespace

// Plays the file at `path` (named `name` on the player's machine). Returns 1
// when it now plays, 0 when it was refused; blob_play_message says which.
extern "C" EMSCRIPTEN_KEEPALIVE int blob_play_dropped(const char* path, const char* name) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    message = std::string(name) + ": cannot read it: " + reason;
    return 0;
  }
  level_data level = parse_level(bytes.data(), bytes.size());
  if (is_level_file(bytes, level)) {
    if (!playable(level, name)) return 0;
    replace_world(path);
    return 1;
  }
  if (!is_level_source(bytes)) {
    message = std::string(name) + ": not a level file (its counts do not match its " +
              std::to_string(bytes.size()) + " bytes) and not a level source";
    return 0;
  }
  if (!build_level_source(path, name)) return 0;
  replace_world(BUILT_LEVEL);
  return 1;
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* blob_play_message() { return message.c_str(); }
