// Fuzz target for the terrain index: whatever triangles the fuzzer's bytes
// decode to as a level file, the indexed point test must give the list
// walk's answer at every point asked, also after triangles move and their
// flags change. Points are drawn from a generator seeded by the input, near
// the triangles' corners and anywhere in and beyond the file's range, and
// every pixel of small squares is asked about twice, alone and along paths
// as a blob asks. The walk out of terrain's boxes of pixels known solid,
// and the rectangles known to be empty, are checked too. Then the level's
// crates are made and ride up and down, some also sideways, for a while, as
// in the game, however many of them share one place. Each input asks a few
// hundred points, so the fuzzer tries more than a thousand inputs a second.
//
// Where the two part, the point and the question are printed before the
// abort, and a driver that defines describe_parted_input (fixed_run.cpp)
// says which input it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "level/index/blob_questions.h"
#include "level/level_file.h"
#include "level/terrain.h"
#include "terrain_reference.h"

extern "C" void describe_parted_input() __attribute__((weak));

namespace {
constexpr int POINTS = 48;       // points asked at random, before and after the moves
constexpr int SIDE = 12;         // pixels: a square round a corner, over 16 questions in its cell
constexpr int CRATE_TICKS = 32;  // ticks of crates riding, up then down
constexpr int CRATE_POINTS = 6;  // points asked near the crates each tick
constexpr int CRATES = 16;       // the level's first ones ride; 16 at one place are a stack

[[noreturn]] void parted(const char* question, int x, int y) {
  std::fprintf(stderr, "terrain_index: the index and the list walk part at (%d, %d): %s\n", x, y,
               question);
  if (describe_parted_input) describe_parted_input();
  std::abort();
}

struct point_source {
  std::uint64_t state;
  std::uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33);
  }
  int within(int low, int high) {
    return low + static_cast<int>(next() % static_cast<std::uint32_t>(high - low + 1));
  }
};

// The walk out of terrain's question gives the same answer, and the box of
// pixels it then crosses without asking is solid at its corners.
void check_walk_box(int x, int y) {
  solid_box box;
  if (collideAllWithin(x, y, box) != collideAllScan(x, y)) parted("collideAllWithin", x, y);
  if (box.left > box.right) return;
  if (!box.holds(x, y)) parted("the solid box misses its own point", x, y);
  for (int cx : {box.left, box.right})
    for (int cy : {box.top, box.bottom})
      if (!collideAllScan(cx, cy)) parted("a corner of the solid box is not solid", cx, cy);
}

void check_agreement(const std::vector<primitive*>& triangles, point_source& source, int points) {
  for (int k = 0; k < points; ++k) {
    int x = source.within(-33000, 33000), y = source.within(-33000, 33000);
    if (!triangles.empty() && k % 2 == 0) {
      const primitive* p = triangles[source.next() % triangles.size()];
      x = (k % 3 == 0 ? p->x1 : p->x3) + source.within(-66, 66);
      y = (k % 3 == 0 ? p->y1 : p->y3) + source.within(-66, 66);
    }
    if (collideAll(x, y) != collideAllScan(x, y)) parted("collideAll", x, y);
    if (k % 8 == 0) check_walk_box(x, y);
  }
}

// Rectangles said to be empty are: no pixel in them is solid.
void check_known_empty(int left, int top, point_source& source) {
  for (int k = 0; k < 4; ++k) {
    int x0 = left + source.within(-8, 40), y0 = top + source.within(-8, 40);
    int wide = source.within(0, 70), narrow = source.within(0, 12);
    int x1 = x0 + (k % 2 ? narrow : wide), y1 = y0 + (k % 2 ? wide : narrow);
    if (!known_empty(x0, y0, x1, y1)) continue;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (collideAllScan(x, y)) parted("a rectangle known empty holds it", x, y);
  }
}

// Every pixel of a square round a corner of a triangle, twice, alone and
// along rows and columns: the cells there are asked often enough to have
// their blocks sorted, and the second pass, and the next check after a
// change, answer from them.
void check_square(const std::vector<primitive*>& triangles, point_source& source) {
  if (triangles.empty()) return;
  const primitive* p = triangles[source.next() % triangles.size()];
  int left = p->x1 - SIDE / 2, top = p->y1 - SIDE / 2;
  // The list walk's answers, asked once: the terrain stands still meanwhile.
  bool solid[SIDE][SIDE];
  for (int a = 0; a < SIDE; ++a)
    for (int b = 0; b < SIDE; ++b) solid[a][b] = collideAllScan(left + b, top + a);
  for (int pass = 0; pass < 2; ++pass) {
    terrain_path rows, columns;
    for (int a = 0; a < SIDE; ++a)
      for (int b = 0; b < SIDE; ++b) {
        int x = left + b, y = top + a;
        if (collideAll(x, y) != solid[a][b]) parted("collideAll in a square", x, y);
        if (rows.collides(x, y) != solid[a][b]) parted("a path along rows", x, y);
        x = left + a;
        y = top + SIDE - 1 - b;
        if (columns.collides(x, y) != solid[SIDE - 1 - b][a]) parted("a path along columns", x, y);
      }
  }
  check_known_empty(left, top, source);
}
// The level's crates (type 0), each two triangles over its 64 x 32 box as
// the game makes them, move a pixel a tick, up for a while and back down,
// past the borders of cells. Every tick some points near a crate are asked.
void ride_crates(const level_data& level, point_source& source) {
  std::vector<primitive*> crates;
  std::vector<int> sideways;  // per triangle: pixels a tick
  for (const level_object& o : level.objects) {
    if (o.type != 0 || crates.size() == 2 * CRATES) continue;
    crates.push_back(addVertex(o.x, o.y, o.x + 64, o.y, o.x, o.y + 32));
    crates.push_back(addVertex(o.x + 64, o.y, o.x, o.y + 32, o.x + 64, o.y + 32));
    sideways.insert(sideways.end(), 2, o.y % 3);
  }
  if (crates.empty()) return;
  for (int tick = 0; tick < CRATE_TICKS; ++tick) {
    bool up = tick < CRATE_TICKS / 2;
    for (std::size_t k = 0; k < crates.size(); ++k)
      moveTriangle(crates[k], up ? sideways[k] : -sideways[k], up ? -1 : 1);
    if (tick % 5 == 4) continue;  // a tick nobody asks about
    terrain_path path;
    for (int k = 0; k < CRATE_POINTS; ++k) {
      const primitive* p = crates[source.next() % crates.size()];
      int x = p->x1 + source.within(-40, 104), y = p->y1 + source.within(-40, 72);
      bool expected = collideAllScan(x, y);
      if (collideAll(x, y) != expected) parted("collideAll near a crate", x, y);
      if (path.collides(x, y) != expected) parted("a path near a crate", x, y);
    }
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  level_data level = parse_level(data, size);
  std::vector<primitive*> triangles;
  for (const level_triangle& t : level.triangles)
    triangles.push_back(addVertex(t.v[0].x, t.v[0].y, t.v[1].x, t.v[1].y, t.v[2].x, t.v[2].y));
  point_source source{size * 0x9E3779B97F4A7C15ull + (size > 0 ? data[size - 1] : 0)};
  check_agreement(triangles, source, POINTS);
  check_square(triangles, source);
  // The level's objects say where, and how far, triangles move.
  for (const level_object& o : level.objects) {
    if (triangles.empty()) break;
    primitive* p = triangles[static_cast<std::size_t>(o.type + 128) % triangles.size()];
    moveTriangle(p, o.x % 300, o.y % 300);
    p->solid = (o.x & 1) == 0;
  }
  check_agreement(triangles, source, POINTS);
  check_square(triangles, source);
  ride_crates(level, source);
  freeCollisions();
  return 0;
}
