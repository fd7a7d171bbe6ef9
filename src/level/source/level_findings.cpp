#include "level_findings.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "crate_places.h"
#include "level/level_file.h"
#include "level/platform.h"
#include "level/terrain.h"
#include "object_kind.h"
#include "shell/angles.h"
#include "shell/counts_and_lists.h"
#include "shell/view.h"
#include "terrain_columns.h"

namespace {
constexpr double BLOB_RADIUS = 20;  // pixels from the centre to where the rim rests
constexpr int BLOB_RIM_POINTS = 20;
constexpr int START_VIEW_X = -WINDOW_WIDTH / 2;  // the first frame's top-left corner
constexpr int START_VIEW_Y = -WINDOW_HEIGHT / 2;
// Room under a crate's lowest place that a blob passes through without
// being squeezed: its diameter. Less, and a blob caught there is pressed
// flat; with no free row at all its centre is pushed out through the ground.
constexpr int CRATE_ROOM_FOR_A_BLOB = static_cast<int>(2 * BLOB_RADIUS);
// Crates named in an overlap note before the rest are counted.
constexpr std::size_t OVERLAPS_NAMED = 4;

std::string point_text(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// The level, and how its objects are named in messages.
struct named_level {
  level_data data;
  std::vector<std::string> names;  // one per object, or empty

  std::string name(std::size_t index) const {
    return names.size() == data.objects.size() ? names[index]
                                               : "object " + std::to_string(index + 1);
  }
  // "object 2 (crate at (10, 20))"
  std::string label(std::size_t index) const {
    const level_object& o = data.objects[index];
    return name(index) + " (" + kind_name(o.type) + " at " + point_text(o.x, o.y) + ")";
  }
};

bool is_blob(int type) { return type >= TYPE_BLOB_FIRST && type <= TYPE_BLOB_LAST; }
// The verb that goes with a count: "1 byte is", "2 bytes are".
const char* is_are(std::size_t n) { return n == 1 ? " is" : " are"; }

// For a file that holds every record its counts ask for, whose objects
// start at `objects_at`: bytes after them, and a negative object count.
void leftover_findings(const level_data& level, std::size_t size, std::size_t objects_at,
                       level_findings& found) {
  std::size_t used = objects_at + OBJECT_RECORD_BYTES * level.objects.size();
  std::size_t left = size - used;
  std::string file_size = "the file is " + count_of(size, "byte");
  if (level.object_count < 0) {
    std::string unread = left > 0 ? ", and the " + count_of(left, "byte") + " after it" +
                                        is_are(left) + " not read (" + file_size + ")"
                                  : "";
    found.problems.push_back("the object count is " + std::to_string(level.object_count) +
                             ": the game makes no objects" + unread);
  } else if (left > 0) {
    found.problems.push_back(count_of(left, "byte") + " after the last object record" +
                             is_are(left) + " not read (" + file_size +
                             ", its counts account for " + std::to_string(used) + ")");
  }
}

// Where the file ends against where its counts say it ends. Data left
// over, or a negative count, means the counts are not the level's: the
// file is damaged, or is not a level file at all.
void size_findings(const level_data& level, std::size_t size, level_findings& found) {
  std::size_t expected =
      level.vertex_count > 0 ? (static_cast<std::size_t>(level.vertex_count) + 2) / 3 : 0;
  std::size_t after_triangles = 4 + TRIANGLE_RECORD_BYTES * level.triangles.size();
  if (level.vertex_count < 0)
    found.problems.push_back("the vertex count is " + std::to_string(level.vertex_count) +
                             ": the game reads no triangles");
  if (size == 0) {
    found.problems.push_back("the file is empty; a level file holds at least 7 bytes");
  } else if (size < 4) {
    found.problems.push_back("the file is " + count_of(size, "byte") +
                             ", too short to hold a vertex count");
  } else if (level.triangles.size() < expected) {
    found.problems.push_back(
        "the vertex count " + std::to_string(level.vertex_count) + " asks for " +
        count_of(expected, "triangle") + ", but only " + std::to_string(level.triangles.size()) +
        (level.triangles.size() == 1 ? " whole one fits" : " whole ones fit") + " in the file");
  } else if (size < after_triangles + 3) {
    found.problems.push_back("the file ends before the object count");
  } else if (level.objects.size() < static_cast<std::size_t>(std::max(level.object_count, 0))) {
    found.problems.push_back(
        "the object count " + std::to_string(level.object_count) +
        " asks for more records than the " + std::to_string(level.objects.size()) +
        (level.objects.size() == 1 ? " whole one that fits" : " whole ones that fit") +
        " in the file");
  } else {
    leftover_findings(level, size, after_triangles + 3, found);
  }
  if (level.vertex_count % 3 != 0 && level.vertex_count > 0)
    found.notes.push_back("the vertex count " + std::to_string(level.vertex_count) +
                          " is not a multiple of 3; the game reads whole triangles, " +
                          std::to_string(expected));
}

void terrain_facts(const level_data& level, level_findings& found) {
  found.facts.push_back("triangles: " + std::to_string(level.triangles.size()) + " (vertex count " +
                        std::to_string(level.vertex_count) + ")");
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
      found.notes.push_back("triangle " + std::to_string(k + 1) +
                            " has no area; the game treats it as a line");
  }
  found.facts.push_back("terrain: x " + std::to_string(left) + ".." + std::to_string(right) +
                        ", y " + std::to_string(top) + ".." + std::to_string(bottom));
}

std::string object_fact(const named_level& level, std::size_t index) {
  const level_object& o = level.data.objects[index];
  std::string line = level.name(index) + ": " + kind_name(o.type) + " at " + point_text(o.x, o.y);
  if (o.type == TYPE_PLATFORM)
    return line + ", top edge rides between y " + std::to_string(o.y - PLATFORM_HALF_PERIOD) +
           " and " + std::to_string(o.y);
  if (o.type == TYPE_BLOB_FIRST) return line + ", under control at the start";
  if (o.type == TYPE_CONTAINER) return line + " (a second level object; the game skips it)";
  return is_known_type(o.type) ? line : line + " (the game skips it)";
}

void object_facts(const named_level& level, level_findings& found) {
  int crates = 0, blobs = 0;
  for (const level_object& o : level.data.objects) {
    crates += o.type == TYPE_PLATFORM;
    blobs += is_blob(o.type);
  }
  found.facts.push_back("objects: " + std::to_string(level.data.objects.size()) + " (" +
                        count_of(crates, "crate") + ", " + count_of(blobs, "blob") + ")");
  for (std::size_t k = 0; k < level.data.objects.size(); ++k) {
    int type = level.data.objects[k].type;
    found.facts.push_back(object_fact(level, k));
    if (!is_known_type(type))
      found.problems.push_back(level.label(k) + ": type code " + std::to_string(type) +
                               " is not one the game makes (0..5)");
  }
}
}  // namespace

namespace {
bool inside_box(int px, int py, int left, int top, int width, int height) {
  return px >= left && px <= left + width && py >= top && py <= top + height;
}

// Checks every crate and blob against the terrain and the crates, until
// the work done passes `budget`; the rest are named in one note.
class placement_check {
 public:
  placement_check(const named_level& level, std::uint64_t budget, level_findings& found)
      : level_(level),
        objects_(level.data.objects),
        crates_(level.data.objects),
        terrain_(level.data),
        budget_(budget),
        found_(found) {}

  void run() {
    bool first_blob = false;
    std::size_t unchecked = 0;
    for (std::size_t k = 0; k < objects_.size(); ++k) {
      int type = objects_[k].type;
      if (terrain_.work() > budget_ && (type == TYPE_PLATFORM || is_blob(type))) {
        if (unchecked++ == 0) first_unchecked_ = k;
      } else {
        if (type == TYPE_PLATFORM) crate(k);
        if (is_blob(type)) blob(k);
      }
      if (type == TYPE_BLOB_FIRST && !first_blob) {
        first_blob = true;
        const level_object& o = objects_[k];
        if (!inside_box(o.x, o.y, START_VIEW_X, START_VIEW_Y, WINDOW_WIDTH, WINDOW_HEIGHT))
          found_.notes.push_back(level_.label(k) +
                                 ": the first frame (x -400..400, y -300..300) does not show it");
      }
    }
    if (unchecked > 0)
      found_.notes.push_back(level_.label(first_unchecked_) + " and the " +
                             count_of(unchecked - 1, "object") +
                             " after it: not checked against the terrain, which is too dense "
                             "here to check every object in a few seconds");
  }

 private:
  bool solid_for_blob(int x, int y) const { return terrain_.solid(x, y) || crates_.holds(x, y); }

  // A blob should start in open air: its centre and every rim point's
  // resting place clear of terrain and crates, else it starts squashed or
  // stuck; and above something, else it falls for ever.
  void blob(std::size_t index) {
    const level_object& o = objects_[index];
    if (solid_for_blob(o.x, o.y)) {
      found_.problems.push_back(level_.label(index) +
                                ": its centre starts inside terrain or a crate");
      return;
    }
    for (int i = 0; i < BLOB_RIM_POINTS; ++i) {
      double angle = i * (360 / BLOB_RIM_POINTS);
      int x = static_cast<int>(o.x + lengthdir_x(BLOB_RADIUS, angle));
      int y = static_cast<int>(o.y + lengthdir_y(BLOB_RADIUS, angle));
      if (solid_for_blob(x, y)) {
        found_.problems.push_back(level_.label(index) +
                                  ": its rim starts inside terrain or a crate at " +
                                  point_text(x, y) + "; leave 20 pixels clear around a blob");
        break;
      }
    }
    if (!anything_below(o.x, o.y))
      found_.problems.push_back(level_.label(index) + ": nothing lies below it between x " +
                                std::to_string(o.x - reach()) + " and " +
                                std::to_string(o.x + reach()) +
                                ", neither terrain nor a crate: it falls for ever");
  }

  // A blob falls straight down: its rim reaches 20 pixels to either side.
  static int reach() { return static_cast<int>(BLOB_RADIUS) - 1; }

  bool anything_below(int x, int y) const {
    if (crates_.any_below(x - reach(), x + reach(), y)) return true;
    for (int column = x - reach(); column <= x + reach(); ++column)
      if (terrain_.first_solid_below(column, y + 1, true) != INT_MAX) return true;
    return false;
  }

  void crate(std::size_t index) {
    const level_object& o = objects_[index];
    if (terrain_.box_hits(o.x, o.y, PLATFORM_WIDTH, PLATFORM_HEIGHT)) {
      found_.problems.push_back(level_.label(index) + ": it starts inside terrain");
      return;
    }
    if (terrain_.box_hits(o.x, o.y - PLATFORM_HALF_PERIOD, PLATFORM_WIDTH,
                          PLATFORM_HEIGHT + PLATFORM_HALF_PERIOD))
      found_.notes.push_back(level_.label(index) + ": on its way up it passes through terrain");
    room_below(index);
    overlaps(index);
  }

  // Each pair once, said by the later crate: one line however many crates
  // are stacked there.
  void overlaps(std::size_t index) {
    crate_places::overlap found = crates_.earlier_overlapping(index, OVERLAPS_NAMED);
    if (found.count == 0) return;
    std::vector<std::string> names;
    for (std::size_t k : found.first) names.push_back(level_.name(k));
    if (found.count > found.first.size())
      names.push_back(std::to_string(found.count - found.first.size()) + " more");
    found_.notes.push_back(level_.label(index) + ": it overlaps " + listed(names));
  }

  // The crate starts at its lowest place. Resting on the ground there, it
  // lets no blob under it; with room for a blob, it passes over one; in
  // between, a blob caught under it is pressed flat, and with no free row
  // pushed out through the ground.
  void room_below(std::size_t index) {
    const level_object& o = objects_[index];
    int bottom = o.y + PLATFORM_HEIGHT;
    int least = INT_MAX, where = 0;
    for (int x = o.x; x <= o.x + PLATFORM_WIDTH; ++x) {
      int ground = terrain_.first_solid_below(x, bottom);
      if (ground != INT_MAX && ground - bottom < least) least = ground - bottom, where = x;
    }
    if (least <= 0 || least >= CRATE_ROOM_FOR_A_BLOB) return;
    found_.problems.push_back(
        level_.label(index) + ": at its lowest it is " + count_of(least, "pixel") +
        " above the ground (at x " + std::to_string(where) +
        "): a blob caught under it is pressed flat, or pushed out through the ground; rest it "
        "on the ground or leave " +
        std::to_string(CRATE_ROOM_FOR_A_BLOB) + " pixels");
  }

  const named_level& level_;
  const std::vector<level_object>& objects_;
  crate_places crates_;
  terrain_columns terrain_;
  std::uint64_t budget_;
  std::size_t first_unchecked_ = 0;
  level_findings& found_;
};

constexpr int STYLES = TYPE_BLOB_LAST - TYPE_BLOB_FIRST + 1;
constexpr std::size_t SHARERS_NAMED = 4;  // objects named in a note before the rest are counted

std::string sharers_text(const named_level& level, const std::vector<std::size_t>& objects) {
  bool named = !level.names.empty();
  std::vector<std::string> names;
  for (std::size_t k = 0; k < objects.size() && k < SHARERS_NAMED; ++k)
    names.push_back(named ? level.name(objects[k]) : std::to_string(objects[k] + 1));
  if (objects.size() > SHARERS_NAMED)
    names.push_back(std::to_string(objects.size() - SHARERS_NAMED) + " more");
  return (named ? "" : "objects ") + listed(names);
}

// Each blob starts with the control index of its style (blob 1: 0, the one
// under control) and every Tab lowers every blob's index by one, from 0
// round to 4. So Tab hands control to the styles in turn, 1 to 5 and round
// again, and on the turn of a style no blob has, nothing is steered and the
// view stands still. Blobs of one style share an index: they move together.
void control_findings(const named_level& level, level_findings& found) {
  std::vector<std::size_t> by_style[STYLES];
  for (std::size_t k = 0; k < level.data.objects.size(); ++k) {
    int type = level.data.objects[k].type;
    if (is_blob(type)) by_style[type - TYPE_BLOB_FIRST].push_back(k);
  }
  std::vector<std::string> missing;
  for (int style = 0; style < STYLES; ++style) {
    if (by_style[style].empty()) missing.push_back(std::to_string(style + TYPE_BLOB_FIRST));
    if (by_style[style].size() > 1)
      found.notes.push_back(sharers_text(level, by_style[style]) + ", each a " +
                            kind_name(style + TYPE_BLOB_FIRST) +
                            ", are under control together: the keys move them as one");
  }
  if (missing.size() == static_cast<std::size_t>(STYLES)) {
    found.problems.push_back(
        "no blobs: nothing is ever under control; place at least a blob 1, the one under "
        "control at the start");
  } else if (!missing.empty()) {
    if (by_style[0].empty())
      found.notes.push_back("no blob 1: nothing is under control until Tab is pressed");
    found.problems.push_back(
        "no blob " + listed(missing, "or") +
        ": Tab hands control to each style in turn (1 to 5, then 1 again), and on a missing "
        "style's turn no blob is under control and the keys do nothing");
  }
}
}  // namespace

level_findings examine_level(const std::uint8_t* bytes, std::size_t size,
                             const std::vector<std::string>& object_names,
                             std::uint64_t placement_work) {
  level_findings found;
  named_level level{parse_level(bytes, size), object_names};
  found.facts.push_back("size: " + count_of(size, "byte"));
  size_findings(level.data, size, found);
  terrain_facts(level.data, found);
  object_facts(level, found);
  placement_check(level, placement_work, found).run();
  // A damaged file with no object records left is not missing its blobs.
  if (!level.data.objects.empty() || found.problems.empty()) control_findings(level, found);
  return found;
}

namespace {
// The first `LINES_SAID` of the findings of one kind, then how many more
// there are: a level of thousands of stacked crates would otherwise bury
// the game's terminal (and its memory) under one line per crate.
void say_some(const std::string& path, const std::string& kind,
              const std::vector<std::string>& findings, std::vector<std::string>& lines) {
  for (std::size_t k = 0; k < findings.size() && k < LINES_SAID; ++k)
    lines.push_back(path + ": " + kind + ": " + findings[k]);
  if (findings.size() > LINES_SAID)
    lines.push_back(path + ": and " + count_of(findings.size() - LINES_SAID, "more " + kind) +
                    "; leveltool check " + path + " lists them all");
}
}  // namespace

std::vector<std::string> level_finding_lines(const std::string& path, const level_input& level) {
  level_findings found = examine_level(level.bytes.data(), level.bytes.size(), level.object_names);
  std::vector<std::string> lines;
  say_some(path, "note", found.notes, lines);
  say_some(path, "problem", found.problems, lines);
  return lines;
}
