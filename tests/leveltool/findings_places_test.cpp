// The findings' questions about many crates and many triangles: the crate
// places' and the terrain columns' answers against plain loops over every
// crate and every triangle, and what a stack of thousands of crates at one
// spot makes check and the game say.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

#include "crate_places.h"
#include "level/platform.h"
#include "level/triangle_test.h"
#include "level_encoder.h"
#include "level_findings.h"
#include "support/test_depth.h"
#include "terrain_columns.h"

namespace {
bool plain_holds(const std::vector<level_object>& objects, int x, int y) {
  for (const level_object& o : objects)
    if (o.type == TYPE_PLATFORM && x >= o.x && x <= o.x + PLATFORM_WIDTH && y >= o.y &&
        y <= o.y + PLATFORM_HEIGHT)
      return true;
  return false;
}

bool plain_any_below(const std::vector<level_object>& objects, int left, int right, int y) {
  for (const level_object& o : objects)
    if (o.type == TYPE_PLATFORM && o.x <= right && o.x + PLATFORM_WIDTH >= left &&
        o.y + PLATFORM_HEIGHT > y)
      return true;
  return false;
}

// The crates before `index` that overlap it, in list order.
std::vector<std::size_t> plain_earlier_overlapping(const std::vector<level_object>& objects,
                                                   std::size_t index) {
  std::vector<std::size_t> found;
  for (std::size_t k = 0; k < index; ++k)
    if (objects[k].type == TYPE_PLATFORM &&
        std::abs(objects[k].x - objects[index].x) < PLATFORM_WIDTH &&
        std::abs(objects[k].y - objects[index].y) < PLATFORM_HEIGHT)
      found.push_back(k);
  return found;
}
// The game's list walk: a triangle holds a point in its box that passes the
// area test.
bool plain_solid(const level_data& level, int x, int y) {
  for (const level_triangle& t : level.triangles) {
    const level_vertex* v = t.v;
    if (triangle_test::box_and_area_hold(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, x, y))
      return true;
  }
  return false;
}

bool plain_box_hits(const level_data& level, int left, int top, int width, int height) {
  for (int x = left + 1; x < left + width; ++x)
    for (int y = top + 1; y < top + height; ++y)
      if (plain_solid(level, x, y)) return true;
  return false;
}

// The least y at or below `y` that a triangle's extent along column x
// reaches, found by walking every triangle.
int plain_first_solid_below(const level_data& level, int x, int y) {
  int found = INT_MAX;
  for (const level_triangle& t : level.triangles) {
    double low = INFINITY, high = -INFINITY;
    for (int e = 0; e < 3; ++e) {
      const level_vertex &a = t.v[e], &b = t.v[(e + 1) % 3];
      if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) continue;
      double y1 = a.y, y2 = b.y;
      if (a.x != b.x) y1 = y2 = a.y + static_cast<double>(x - a.x) * (b.y - a.y) / (b.x - a.x);
      low = std::min({low, y1, y2}), high = std::max({high, y1, y2});
    }
    int first = std::max(y, static_cast<int>(std::ceil(low)));
    if (low <= high && first <= std::floor(high)) found = std::min(found, first);
  }
  return found;
}
}  // namespace

// Small triangles, copies of them, ones with no area, and long thin ones
// across many columns (filed in wider columns: 600, 4,000 and 40,000 pixels
// long), one above the other: every question asked anywhere and next to
// corners, against every triangle.
TEST(TerrainColumns, AgreeWithLoopsOverEveryTriangle) {
  std::mt19937 random(11);
  auto near = [&](int spread) { return static_cast<int>(random() % (2 * spread + 1)) - spread; };
  level_data level;
  for (int k = 0; k < 120; ++k) {
    int x = near(300), y = near(300);
    auto at = [](int vx, int vy) { return level_vertex{vx, vy, 0, 0, 0}; };
    level_vertex a = at(x, y), b = at(x + near(60), y + near(60)),
                 c = at(x + near(60), y + near(60));
    if (k % 10 == 0) b = at(x + 2000, y + 3), c = at(x - 2000, y + 9);  // long and thin
    if (k % 10 == 3) b = at(x + 300, y + 40), c = at(x - 300, y + 45);
    if (k % 30 == 7) b = at(x + 20000, y - 30), c = at(x - 20000, y + 2);
    if (k % 17 == 0) c = b;  // no area
    level.triangles.push_back({{a, b, c}});
    if (k % 4 == 0) level.triangles.push_back(level.triangles.back());  // a copy
  }
  terrain_columns columns(level);
  for (int k = deep_or(3000, 600); k > 0; --k) {
    int x = near(400), y = near(400);
    if (k % 2) {  // at or next to a corner, where boxes begin and end
      const level_vertex& v = level.triangles[random() % level.triangles.size()].v[random() % 3];
      x = v.x + near(2), y = v.y + near(2);
    }
    ASSERT_EQ(columns.solid(x, y), plain_solid(level, x, y)) << x << ", " << y;
    ASSERT_EQ(columns.first_solid_below(x, y), plain_first_solid_below(level, x, y))
        << x << ", " << y;
    ASSERT_EQ(columns.first_solid_below(x, y, true) != INT_MAX,
              plain_first_solid_below(level, x, y) != INT_MAX)
        << x << ", " << y;
    if (k % 10 == 0) {
      int width = 2 + static_cast<int>(random() % 80), height = 2 + static_cast<int>(random() % 40);
      ASSERT_EQ(columns.box_hits(x, y, width, height), plain_box_hits(level, x, y, width, height))
          << x << ", " << y << ", " << width << " x " << height;
    }
  }
}

// Crates in a small area, many on the same few places, with blobs among
// them; points and stretches asked at and around every edge.
TEST(CratePlaces, AgreeWithLoopsOverEveryCrate) {
  std::mt19937 random(7);
  auto near = [&](int spread) { return static_cast<int>(random() % (2 * spread + 1)) - spread; };
  for (int round = deep_or(20, 1); round > 0; --round) {
    std::vector<level_object> objects;
    for (int k = 0; k < 300; ++k) {
      int type = random() % 5 == 0 ? 1 : TYPE_PLATFORM;
      if (random() % 3 == 0)
        objects.push_back({type, 64 * (near(2)), 32 * near(2)});  // a few shared places
      else
        objects.push_back({type, near(200), near(120)});
    }
    crate_places places(objects);
    for (int k = 0; k < 2000; ++k) {
      int x = near(300), y = near(200), width = static_cast<int>(random() % 60);
      ASSERT_EQ(places.holds(x, y), plain_holds(objects, x, y)) << x << ", " << y;
      ASSERT_EQ(places.any_below(x, x + width, y), plain_any_below(objects, x, x + width, y))
          << x << ".." << x + width << ", " << y;
    }
    for (std::size_t k = 0; k < objects.size(); ++k) {
      if (objects[k].type != TYPE_PLATFORM) continue;
      crate_places::overlap found = places.earlier_overlapping(k, 4);
      std::vector<std::size_t> expected = plain_earlier_overlapping(objects, k);
      ASSERT_EQ(found.count, expected.size()) << "crate " << k;
      expected.resize(std::min<std::size_t>(expected.size(), 4));
      ASSERT_EQ(found.first, expected) << "crate " << k;
    }
  }
}

// When the work allowed runs out, the crates and blobs left are named in
// one note, from the first of them on; objects of other kinds are not
// counted. With no work allowed at all, only the first object is checked.
TEST(LevelFindings, ObjectsLeftWhenTheWorkRunsOutAreNamedFromTheFirst) {
  level_data level;
  level.triangles.push_back({{{-1000, 100, 0, 0, 0}, {1000, 100, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  level.objects = {
      {1, 0, 70}, {TYPE_PLATFORM, 200, 68}, {9, 5, 5}, {2, -200, 70}, {TYPE_PLATFORM, -500, 68}};
  std::vector<std::uint8_t> bytes = encode_level(level);
  auto unchecked_note = [&](std::uint64_t work) {
    for (const std::string& note : examine_level(bytes.data(), bytes.size(), {}, work).notes)
      if (note.find("not checked") != std::string::npos) return note;
    return std::string();
  };
  EXPECT_EQ(unchecked_note(0),
            "object 2 (crate at (200, 68)) and the 2 objects after it: not checked against the "
            "terrain, which is too dense here to check every object in a few seconds");
  EXPECT_EQ(unchecked_note(PLACEMENT_WORK), "");
}

// 3,000 crates at one place on the ground, one a pixel into the stack from
// the right and one touching its left side: one overlap note a crate, which
// names four and counts the rest, none for a crate that only touches; the
// game says ten notes and counts the others.
TEST(CratePlaces, AStackOfThousandsGivesOneLineACrate) {
  level_data level;
  level.triangles.push_back({{{-1000, 100, 0, 0, 0}, {1000, 100, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  level.triangles.push_back({{{1000, 100, 0, 0, 0}, {1000, 300, 0, 0, 0}, {-1000, 300, 0, 0, 0}}});
  for (int style = 1; style <= 5; ++style) level.objects.push_back({style, 100 * style - 300, 70});
  for (int k = 0; k < 3000; ++k) level.objects.push_back({TYPE_PLATFORM, 500, 68});
  level.objects.push_back({TYPE_PLATFORM, 563, 68});  // a pixel into the stack from the right
  level.objects.push_back({TYPE_PLATFORM, 436, 68});  // against its left side
  level_input input;
  input.bytes = encode_level(level);
  level_findings found = examine_level(input.bytes.data(), input.bytes.size());
  EXPECT_TRUE(found.problems.empty()) << found.problems.front();
  ASSERT_EQ(found.notes.size(), 3000u) << "2,999 in the stack and the one on its corner";
  EXPECT_EQ(found.notes[0], "object 7 (crate at (500, 68)): it overlaps object 6");
  EXPECT_EQ(found.notes[2998],
            "object 3005 (crate at (500, 68)): it overlaps object 6, object 7, object 8, object 9 "
            "and 2995 more");
  EXPECT_EQ(found.notes[2999],
            "object 3006 (crate at (563, 68)): it overlaps object 6, object 7, object 8, object 9 "
            "and 2996 more");

  std::vector<std::string> said = level_finding_lines("stack.map", input);
  ASSERT_EQ(said.size(), LINES_SAID + 1) << said.back();
  EXPECT_EQ(said[0], "stack.map: note: object 7 (crate at (500, 68)): it overlaps object 6");
  EXPECT_EQ(said.back(),
            "stack.map: and 2990 more notes; leveltool check stack.map lists them all");
}
