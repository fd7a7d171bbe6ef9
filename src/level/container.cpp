#include "level/container.h"

#include <string>
#include <vector>

#include "files/data_path.h"
#include "files/file_bytes.h"
#include "files/said_lines.h"
#include "level/level_file.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "shell/counts_and_lists.h"
#include "shell/texture.h"

namespace {
void warn(const std::string& problem, const std::string& path) {
  say_line("level: " + problem + " (" + path + ")");
}

void make_triangles(const level_data& level) {
  for (const level_triangle& t : level.triangles) {
    const level_vertex* v = t.v;
    primitive* p = addVertex(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y);
    addColour(p, v[0].r, v[0].g, v[0].b, v[1].r, v[1].g, v[1].b, v[2].r, v[2].g, v[2].b);
  }
}

constexpr std::size_t UNKNOWN_RECORDS_NAMED = 3;  // lines before the rest are only counted

// Only platforms and blobs can be placed by a level: a record naming the
// level object would load the level again, without end. A damaged or random
// file can hold thousands of unknown records; the first few are named and
// the rest counted, so the terminal is not flooded.
void make_objects(const level_data& level, const std::string& path) {
  std::size_t unknown = 0;
  for (std::size_t k = 0; k < level.objects.size(); ++k) {
    const level_object& o = level.objects[k];
    if (o.type >= TYPE_PLATFORM && o.type <= TYPE_BLOB_LAST) {
      instance_create(o.x, o.y, o.type);
    } else if (++unknown <= UNKNOWN_RECORDS_NAMED) {
      warn("object record " + std::to_string(k + 1) + " has the unknown type code " +
               std::to_string(o.type) + " and was skipped",
           path);
    }
  }
  if (unknown <= UNKNOWN_RECORDS_NAMED) return;
  std::size_t rest = unknown - UNKNOWN_RECORDS_NAMED;
  warn(count_of(rest, "more object record") + " with an unknown type code " +
           (rest == 1 ? "was" : "were") + " skipped",
       path);
}

std::string level_file_path = ".\\level.map";
bool level_bytes_given = false;
std::vector<std::uint8_t> level_bytes;
std::string level_name;
}  // namespace

void set_level_file(const std::string& path) {
  level_file_path = path;
  level_bytes_given = false;
}

void set_level_bytes(std::vector<std::uint8_t> bytes, const std::string& name) {
  level_bytes = std::move(bytes);
  level_name = name;
  level_bytes_given = true;
}

void obj_container::create() {
  texture = loadTexture(".\\images\\tex_snow.png", &texture_opaque);
  if (level_bytes_given)
    make_level(level_bytes.data(), level_bytes.size(), level_name);
  else
    loadLevel(level_file_path.c_str());
}

void obj_container::draw() { draw_terrain(texture, texture_opaque); }

void obj_container::destroy() { glDeleteTextures(1, &texture); }

int obj_container::loadLevel(const char* file_name) {
  std::string path = host_path(file_name);
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    warn("cannot read the level, the world stays empty: " + reason, data_file_name(file_name));
    return 0;
  }
  make_level(bytes.data(), bytes.size(), path);
  return 1;
}

void make_level(const std::uint8_t* bytes, std::size_t size, const std::string& name) {
  level_data level = parse_level(bytes, size);
  if (size == 0)
    warn("the level file is empty; the world stays empty", name);
  else if (level.truncated)
    warn("the file ends inside a record; only the whole records before that point were used", name);
  make_triangles(level);
  make_objects(level, name);
  link_stacked_crates();
}
