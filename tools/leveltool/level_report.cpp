#include "level_report.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdio>

#include "level/level_file.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "object_kind.h"
#include "shell/angles.h"
#include "shell/view.h"
#include "shell/wording.h"

namespace {
constexpr double BLOB_RADIUS = 20;  // pixels from the centre to where the rim rests
constexpr int BLOB_RIM_POINTS = 20;
constexpr int START_VIEW_X = -WINDOW_WIDTH / 2;  // the first frame's top-left corner
constexpr int START_VIEW_Y = -WINDOW_HEIGHT / 2;

std::string point_text(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string object_label(std::size_t index, const level_object& o) {
  return "object " + std::to_string(index + 1) + " (" + kind_name(o.type) + " at " +
         point_text(o.x, o.y) + ")";
}

// The level's triangles in the game's triangle list for as long as it lives.
struct collision_list {
  explicit collision_list(const level_data& level) {
    assert(start_ptr == nullptr && "examine_level needs the triangle list empty");
    for (const level_triangle& t : level.triangles)
      addVertex(t.v[0].x, t.v[0].y, t.v[1].x, t.v[1].y, t.v[2].x, t.v[2].y);
  }
  ~collision_list() { freeCollisions(); }
  collision_list(const collision_list&) = delete;
  collision_list& operator=(const collision_list&) = delete;
};

bool inside_box(int px, int py, int left, int top, int width, int height) {
  return px >= left && px <= left + width && py >= top && py <= top + height;
}

// Any whole-pixel point strictly inside the box in terrain. A crate only
// collides with blobs, so one that rests on the ground or fits a pit exactly
// is fine; only overlapping terrain shows as a crate half sunk in it.
bool box_hits_terrain(int left, int top, int width, int height) {
  for (int y = top + 1; y < top + height; ++y)
    for (int x = left + 1; x < left + width; ++x)
      if (collideAll(x, y)) return true;
  return false;
}

// The verb that goes with a count: "1 byte is", "2 bytes are".
const char* is_are(std::size_t n) { return n == 1 ? " is" : " are"; }

// For a file that holds every record its counts ask for, whose objects
// start at `objects_at`: bytes after them, and a negative object count.
void leftover_findings(const level_data& level, std::size_t size, std::size_t objects_at,
                       level_report& report) {
  std::size_t used = objects_at + OBJECT_RECORD_BYTES * level.objects.size();
  std::size_t left = size - used;
  std::string file_size = "the file is " + count_of(size, "byte");
  if (level.object_count < 0) {
    std::string unread = left > 0 ? ", and the " + count_of(left, "byte") + " after it" +
                                        is_are(left) + " not read (" + file_size + ")"
                                  : "";
    report.problems.push_back("the object count is " + std::to_string(level.object_count) +
                              ": the game makes no objects" + unread);
  } else if (left > 0) {
    report.problems.push_back(count_of(left, "byte") + " after the last object record" +
                              is_are(left) + " not read (" + file_size +
                              ", its counts account for " + std::to_string(used) + ")");
  }
}

// Where the file ends against where its counts say it ends. Data left
// over, or a negative count, means the counts are not the level's: the
// file is damaged, or is not a level file at all.
void size_findings(const level_data& level, std::size_t size, level_report& report) {
  std::size_t expected =
      level.vertex_count > 0 ? (static_cast<std::size_t>(level.vertex_count) + 2) / 3 : 0;
  std::size_t after_triangles = 4 + TRIANGLE_RECORD_BYTES * level.triangles.size();
  if (level.vertex_count < 0)
    report.problems.push_back("the vertex count is " + std::to_string(level.vertex_count) +
                              ": the game reads no triangles");
  if (size == 0) {
    report.problems.push_back("the file is empty; a level file holds at least 7 bytes");
  } else if (size < 4) {
    report.problems.push_back("the file is " + count_of(size, "byte") +
                              ", too short to hold a vertex count");
  } else if (level.triangles.size() < expected) {
    report.problems.push_back(
        "the vertex count " + std::to_string(level.vertex_count) + " asks for " +
        count_of(expected, "triangle") + ", but only " + std::to_string(level.triangles.size()) +
        (level.triangles.size() == 1 ? " whole one fits" : " whole ones fit") + " in the file");
  } else if (size < after_triangles + 3) {
    report.problems.push_back("the file ends before the object count");
  } else if (level.objects.size() < static_cast<std::size_t>(std::max(level.object_count, 0))) {
    report.problems.push_back(
        "the object count " + std::to_string(level.object_count) +
        " asks for more records than the " + std::to_string(level.objects.size()) +
        (level.objects.size() == 1 ? " whole one that fits" : " whole ones that fit") +
        " in the file");
  } else {
    leftover_findings(level, size, after_triangles + 3, report);
  }
  if (level.vertex_count % 3 != 0 && level.vertex_count > 0)
    report.notes.push_back("the vertex count " + std::to_string(level.vertex_count) +
                           " is not a multiple of 3; the game reads whole triangles, " +
                           std::to_string(expected));
}

void terrain_facts(const level_data& level, level_report& report) {
  report.facts.push_back("triangles: " + std::to_string(level.triangles.size()) +
                         " (vertex count " + std::to_string(level.vertex_count) + ")");
  if (level.triangles.empty()) return;
  int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
  for (std::size_t k = 0; k < level.triangles.size(); ++k) {
    const level_vertex* v = level.triangles[k].v;
    for (int c = 0; c < 3; ++c) {
      left = std::min(left, v[c].x), right = std::max(right, v[c].x);
      top = std::min(top, v[c].y), bottom = std::max(bottom, v[c].y);
    }
    long long twice_area =
        1LL * (v[1].x - v[0].x) * (v[2].y - v[0].y) - 1LL * (v[2].x - v[0].x) * (v[1].y - v[0].y);
    if (twice_area == 0)
      report.notes.push_back("triangle " + std::to_string(k + 1) +
                             " has no area; the game treats it as a line");
  }
  report.facts.push_back("terrain: x " + std::to_string(left) + ".." + std::to_string(right) +
                         ", y " + std::to_string(top) + ".." + std::to_string(bottom));
}

std::string object_fact(std::size_t index, const level_object& o) {
  std::string line = "object " + std::to_string(index + 1) + ": " + kind_name(o.type) + " at " +
                     point_text(o.x, o.y);
  if (o.type == TYPE_PLATFORM)
    return line + ", top edge rides between y " + std::to_string(o.y - PLATFORM_HALF_PERIOD) +
           " and " + std::to_string(o.y);
  if (o.type == TYPE_BLOB_FIRST) return line + ", under control at the start";
  if (o.type == TYPE_CONTAINER) return line + " (a second level object; the game skips it)";
  return is_known_type(o.type) ? line : line + " (the game skips it)";
}

void object_facts(const level_data& level, level_report& report) {
  int crates = 0, blobs = 0;
  for (const level_object& o : level.objects) {
    crates += o.type == TYPE_PLATFORM;
    blobs += o.type >= TYPE_BLOB_FIRST && o.type <= TYPE_BLOB_LAST;
  }
  report.facts.push_back("objects: " + std::to_string(level.objects.size()) + " (" +
                         count_of(crates, "crate") + ", " + count_of(blobs, "blob") + ")");
  for (std::size_t k = 0; k < level.objects.size(); ++k) {
    report.facts.push_back(object_fact(k, level.objects[k]));
    if (!is_known_type(level.objects[k].type))
      report.problems.push_back(object_label(k, level.objects[k]) + ": type code " +
                                std::to_string(level.objects[k].type) +
                                " is not one the game makes (0..5)");
  }
}

bool in_any_crate(int x, int y, const level_data& level) {
  for (const level_object& o : level.objects)
    if (o.type == TYPE_PLATFORM && inside_box(x, y, o.x, o.y, PLATFORM_WIDTH, PLATFORM_HEIGHT))
      return true;
  return false;
}

bool solid_for_blob(int x, int y, const level_data& level) {
  return collideAll(x, y) || in_any_crate(x, y, level);
}

// A blob should start in open air: its centre and every rim point's resting
// place clear of terrain and crates, else it starts squashed or stuck.
void blob_placement(std::size_t index, const level_data& level, level_report& report) {
  const level_object& o = level.objects[index];
  if (solid_for_blob(o.x, o.y, level)) {
    report.problems.push_back(object_label(index, o) +
                              ": its centre starts inside terrain or a crate");
    return;
  }
  for (int i = 0; i < BLOB_RIM_POINTS; ++i) {
    double angle = i * (360 / BLOB_RIM_POINTS);
    int x = static_cast<int>(o.x + lengthdir_x(BLOB_RADIUS, angle));
    int y = static_cast<int>(o.y + lengthdir_y(BLOB_RADIUS, angle));
    if (solid_for_blob(x, y, level)) {
      report.problems.push_back(object_label(index, o) +
                                ": its rim starts inside terrain or a crate at " +
                                point_text(x, y) + "; leave 20 pixels clear around a blob");
      return;
    }
  }
}

void crate_placement(std::size_t index, const level_data& level, level_report& report) {
  const level_object& o = level.objects[index];
  if (box_hits_terrain(o.x, o.y, PLATFORM_WIDTH, PLATFORM_HEIGHT)) {
    report.problems.push_back(object_label(index, o) + ": it starts inside terrain");
    return;
  }
  if (box_hits_terrain(o.x, o.y - PLATFORM_HALF_PERIOD, PLATFORM_WIDTH,
                       PLATFORM_HEIGHT + PLATFORM_HALF_PERIOD))
    report.notes.push_back(object_label(index, o) + ": on its way up it passes through terrain");
  for (std::size_t k = 0; k < index; ++k) {
    const level_object& other = level.objects[k];
    if (other.type == TYPE_PLATFORM && std::abs(other.x - o.x) < PLATFORM_WIDTH &&
        std::abs(other.y - o.y) < PLATFORM_HEIGHT)
      report.notes.push_back(object_label(index, o) + ": it overlaps object " +
                             std::to_string(k + 1));
  }
}

void placement_findings(const level_data& level, level_report& report) {
  collision_list triangles(level);
  bool first_blob = false;
  for (std::size_t k = 0; k < level.objects.size(); ++k) {
    int type = level.objects[k].type;
    if (type == TYPE_PLATFORM) crate_placement(k, level, report);
    if (type >= TYPE_BLOB_FIRST && type <= TYPE_BLOB_LAST) blob_placement(k, level, report);
    if (type == TYPE_BLOB_FIRST && !first_blob) {
      first_blob = true;
      const level_object& o = level.objects[k];
      if (!inside_box(o.x, o.y, START_VIEW_X, START_VIEW_Y, WINDOW_WIDTH, WINDOW_HEIGHT))
        report.notes.push_back(object_label(k, o) +
                               ": the first frame (x -400..400, y -300..300) does not show it");
    }
  }
}

constexpr int STYLES = TYPE_BLOB_LAST - TYPE_BLOB_FIRST + 1;
constexpr std::size_t SHARERS_NAMED = 4;  // objects named in a note before the rest are counted

std::string sharers_text(const std::vector<std::size_t>& objects) {
  std::vector<std::string> names;
  for (std::size_t k = 0; k < objects.size() && k < SHARERS_NAMED; ++k)
    names.push_back(std::to_string(objects[k] + 1));
  if (objects.size() > SHARERS_NAMED)
    names.push_back(count_of(objects.size() - SHARERS_NAMED, "more"));
  return "objects " + listed(names);
}

// Each blob starts with the control index of its style (blob 1: 0, the one
// under control) and every Tab lowers every blob's index by one, from 0
// round to 4. So Tab hands control to the styles in turn, 1 to 5 and round
// again, and on the turn of a style no blob has, nothing is steered and the
// view stands still. Blobs of one style share an index: they move together.
void control_findings(const level_data& level, level_report& report) {
  std::vector<std::size_t> by_style[STYLES];
  for (std::size_t k = 0; k < level.objects.size(); ++k) {
    int type = level.objects[k].type;
    if (type >= TYPE_BLOB_FIRST && type <= TYPE_BLOB_LAST)
      by_style[type - TYPE_BLOB_FIRST].push_back(k);
  }
  std::vector<std::string> missing;
  for (int style = 0; style < STYLES; ++style) {
    if (by_style[style].empty()) missing.push_back(std::to_string(style + TYPE_BLOB_FIRST));
    if (by_style[style].size() > 1)
      report.notes.push_back(sharers_text(by_style[style]) + ", each a " +
                             kind_name(style + TYPE_BLOB_FIRST) +
                             ", are under control together: the keys move them as one");
  }
  if (missing.size() == static_cast<std::size_t>(STYLES)) {
    report.notes.push_back("no blobs: nothing is ever under control");
  } else if (!missing.empty()) {
    if (by_style[0].empty())
      report.notes.push_back("no blob 1: nothing is under control until Tab is pressed");
    report.problems.push_back(
        "no blob " + listed(missing, "or") +
        ": Tab hands control to each style in turn (1 to 5, then 1 again), and on a missing "
        "style's turn no blob is under control and the keys do nothing");
  }
}
}  // namespace

level_report examine_level(const std::uint8_t* bytes, std::size_t size) {
  level_report report;
  level_data level = parse_level(bytes, size);
  report.facts.push_back("size: " + count_of(size, "byte"));
  size_findings(level, size, report);
  terrain_facts(level, report);
  object_facts(level, report);
  placement_findings(level, report);
  control_findings(level, report);
  return report;
}

std::string report_text(const level_report& report) {
  std::string text;
  for (const std::string& line : report.facts) text += line + "\n";
  for (const std::string& line : report.notes) text += "note: " + line + "\n";
  for (const std::string& line : report.problems) text += "problem: " + line + "\n";
  if (report.problems.empty()) text += "no problems\n";
  return text;
}
