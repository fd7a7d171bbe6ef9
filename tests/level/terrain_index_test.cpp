// The indexed point test against the plain walk of the whole list, on
// random triangle sets (small ones, degenerate ones, lines, points, huge
// ones over the whole coordinate range) and millions of random points,
// while triangles move, flags change, triangles are added after the first
// questions, and the list is freed and loaded again. Also the drawing's
// visit: the triangles near a rectangle, once each, in list order; and the
// boxes of pixels known solid that the walk out of terrain strides through.
#include "level/index/terrain_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "level/index/blob_questions.h"
#include "level/level_file.h"
#include "level/terrain.h"
#include "support/test_depth.h"
#include "terrain_reference.h"

namespace {
constexpr int EDGE = LEVEL_COORD_MAX;  // the largest coordinate a level file holds

class TerrainIndex : public ::testing::Test {
 protected:
  void TearDown() override { freeCollisions(); }
  std::mt19937 random_{20240607};

  int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // One triangle of a mix that hits every kind the file can hold.
  primitive* add_random_triangle() {
    int kind = uniform(0, 9);
    if (kind <= 3) {  // small, near a few centres so they pile up
      int cx = uniform(-3, 3) * 3000, cy = uniform(-3, 3) * 3000;
      return addVertex(cx + uniform(-200, 200), cy + uniform(-200, 200), cx + uniform(-200, 200),
                       cy + uniform(-200, 200), cx + uniform(-200, 200), cy + uniform(-200, 200));
    }
    if (kind == 4) {  // a line: three corners on one line
      int x = uniform(-EDGE, EDGE), y = uniform(-EDGE, EDGE), dx = uniform(-9, 9),
          dy = uniform(-9, 9);
      int a = uniform(-300, 300), b = uniform(-300, 300);
      return addVertex(x, y, x + a * dx, y + a * dy, x + b * dx, y + b * dy);
    }
    if (kind == 5) {  // all three corners in one point
      int x = uniform(-EDGE, EDGE), y = uniform(-EDGE, EDGE);
      return addVertex(x, y, x, y, x, y);
    }
    // huge, anywhere in the range, corners on the range's edge included
    auto corner = [&] {
      return uniform(0, 5) == 0 ? (uniform(0, 1) ? EDGE : -EDGE) : uniform(-EDGE, EDGE);
    };
    return addVertex(corner(), corner(), corner(), corner(), corner(), corner());
  }

  void expect_agreement_near(int x, int y, int reach, int points) {
    for (int k = 0; k < points; ++k) {
      int px = x + uniform(-reach, reach), py = y + uniform(-reach, reach);
      ASSERT_EQ(collideAll(px, py), collideAllScan(px, py)) << "at (" << px << ", " << py << ")";
    }
  }

  // Rectangles said to be empty are: no pixel in them is solid. Returns how
  // many were said to be.
  int expect_rectangles_known_empty_are(int left, int top, int side) {
    int known = 0;
    for (int k = deep_or(300, 40); k > 0; --k) {
      int x0 = left + uniform(0, side), y0 = top + uniform(0, 200);
      int x1 = x0 + uniform(0, 70), y1 = y0 + uniform(0, 70);
      if (!known_empty(x0, y0, x1, y1)) continue;
      ++known;
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
          EXPECT_FALSE(collideAllScan(x, y))
              << "(" << x << ", " << y << ") in " << x0 << "," << y0 << " to " << x1 << "," << y1;
    }
    return known;
  }

  // Every pixel of a square, asked about again and again as a blob resting
  // there would, alone and along paths: rows, and columns from the bottom.
  static void expect_square_agrees(int left, int top, int side, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
      terrain_path rows, columns;
      for (int a = 0; a < side; ++a)
        for (int b = 0; b < side; ++b) {
          int x = left + b, y = top + a;
          bool expected = collideAllScan(x, y);
          ASSERT_EQ(collideAll(x, y), expected) << "at (" << x << ", " << y << "), pass " << pass;
          ASSERT_EQ(rows.collides(x, y), expected) << "along a row at (" << x << ", " << y << ")";
          x = left + a, y = top + side - 1 - b;
          ASSERT_EQ(columns.collides(x, y), collideAllScan(x, y))
              << "up a column at (" << x << ", " << y << ")";
        }
    }
  }

  // Points near corners and edges of the triangles as well as anywhere, and
  // beyond the range a file holds.
  void expect_agreement(int points) {
    std::vector<const primitive*> list;
    for (const primitive* p = start_ptr; p; p = p->next) list.push_back(p);
    for (int k = 0; k < points; ++k) {
      int x, y;
      if (!list.empty() && uniform(0, 1) == 0) {
        const primitive* p = list[uniform(0, static_cast<int>(list.size()) - 1)];
        int which = uniform(0, 2);
        x = (which == 0 ? p->x1 : which == 1 ? p->x2 : p->x3) + uniform(-70, 70);
        y = (which == 0 ? p->y1 : which == 1 ? p->y2 : p->y3) + uniform(-70, 70);
      } else {
        x = uniform(-EDGE - 200, EDGE + 200);
        y = uniform(-EDGE - 200, EDGE + 200);
      }
      ASSERT_EQ(collideAll(x, y), collideAllScan(x, y)) << "at (" << x << ", " << y << ")";
      if (k % 16 == 0) expect_walk_box_solid(x, y);
    }
  }

  // The drawing's visit: every drawn triangle whose box meets the
  // rectangle, once each, in list order; never a crate's.
  static void expect_near_gives_every_meeting_triangle(int left, int top, int right, int bottom) {
    std::vector<const primitive*> near;
    terrain_index::triangles_near(left, top, right, bottom, near);
    auto by_order = [](const primitive* a, const primitive* b) { return a->order < b->order; };
    ASSERT_TRUE(std::is_sorted(near.begin(), near.end(), by_order));
    ASSERT_TRUE(std::adjacent_find(near.begin(), near.end()) == near.end()) << "a triangle twice";
    for (const primitive* p : near)
      ASSERT_TRUE(p->drawn) << "triangle " << p->order << " is not drawn";
    for (const primitive* p = start_ptr; p; p = p->next) {
      bool meets =
          std::max({p->x1, p->x2, p->x3}) >= left && std::min({p->x1, p->x2, p->x3}) <= right &&
          std::max({p->y1, p->y2, p->y3}) >= top && std::min({p->y1, p->y2, p->y3}) <= bottom;
      if (!meets || !p->drawn) continue;
      ASSERT_TRUE(std::binary_search(near.begin(), near.end(), p, by_order))
          << "triangle " << p->order << " meets the rectangle but was not visited";
    }
  }

  // The walk out of terrain's question: the same answer, and every pixel of
  // the box it gets back, which the walk then crosses without asking, is
  // solid. Its corners, centre and a few pixels inside are asked.
  void expect_walk_box_solid(int x, int y) {
    solid_box box;
    ASSERT_EQ(collideAllWithin(x, y, box), collideAllScan(x, y)) << "at (" << x << ", " << y << ")";
    if (box.left > box.right) return;
    ASSERT_TRUE(box.holds(x, y)) << "at (" << x << ", " << y << ")";
    std::vector<std::pair<int, int>> asked = {
        {box.left, box.top},
        {box.right, box.top},
        {box.left, box.bottom},
        {box.right, box.bottom},
        {box.left / 2 + box.right / 2, box.top / 2 + box.bottom / 2}};
    for (int k = 0; k < 4; ++k)
      asked.emplace_back(uniform(box.left, box.right), uniform(box.top, box.bottom));
    for (auto [px, py] : asked)
      ASSERT_TRUE(collideAllScan(px, py))
          << "(" << px << ", " << py << ") in the box of (" << x << ", " << y << "): " << box.left
          << "," << box.top << " to " << box.right << "," << box.bottom;
  }
};
}  // namespace

TEST_F(TerrainIndex, AgreesWithTheListWalkWhileTheWorldChanges) {
  const int points = deep_or(150000, 1500), ticks = deep_or(300, 30), per_tick = deep_or(500, 40);
  std::vector<primitive*> added;
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < 400; ++k) added.push_back(add_random_triangle());
    expect_agreement(points);
    // Crates' way: a pixel at a time, up and down, through cell borders.
    for (int tick = 0; tick < ticks; ++tick) {
      for (int k = 0; k < 20; ++k) moveTriangle(added[k], 0, tick < ticks / 2 ? -1 : 1);
      expect_agreement(per_tick);
    }
    // Big jumps of any triangle, huge ones included, and flags flipped.
    for (int k = 0; k < 60; ++k) {
      primitive* p = added[uniform(0, static_cast<int>(added.size()) - 1)];
      moveTriangle(p, uniform(-5000, 5000), uniform(-5000, 5000));
      p->solid = uniform(0, 3) != 0;
    }
    expect_agreement(points);
  }
  // Freed and loaded again, as a level reloaded while the game runs.
  freeCollisions();
  expect_agreement(1000);
  added.clear();
  for (int k = 0; k < 300; ++k) added.push_back(add_random_triangle());
  expect_agreement(points);
}

TEST_F(TerrainIndex, AdversarialTerrainsAgree) {
  // One triangle over the whole range, then thousands of overlapping huge
  // ones, then points beyond the int range a blob could ever reach.
  const int points = deep_or(50000, 1500), pile = deep_or(3000, 600);
  primitive* whole = addVertex(-EDGE, -EDGE, EDGE, -EDGE, -EDGE, EDGE);
  expect_agreement(points);
  // What was remembered about the cells it fills must not outlive its
  // solid flag, nor its leaving for another place.
  whole->solid = false;
  expect_agreement(points * 2 / 5);
  whole->solid = true;
  moveTriangle(whole, 0, 0);
  expect_agreement(points * 2 / 5);
  for (int k = 0; k < pile; ++k) {
    if (k % 2)
      addVertex(-EDGE, -EDGE, EDGE, -EDGE, -EDGE, EDGE);
    else
      add_random_triangle();
  }
  expect_agreement(2 * points);
  for (int x : {-2147483647 - 1, -100000, 100000, 2147483647})
    EXPECT_EQ(collideAll(x, 5), collideAllScan(x, 5));
  // Triangles with corners far beyond what a file holds still agree.
  freeCollisions();
  addVertex(-1000000, -1000000, 1000000, -1000000, -1000000, 1000000);
  addVertex(-70000, 0, 70000, 10, 0, 70000);
  for (int x : {-999999, -70000, -65537, -65536, 0, 65535, 65536, 69999})
    for (int y : {-999999, -1, 0, 5, 65535, 69000})
      EXPECT_EQ(collideAll(x, y), collideAllScan(x, y)) << x << "," << y;
}

// Cells a blob keeps asking about have their 8x8 blocks sorted into empty
// and filled ones, which answer later questions without a triangle test.
// Each change is checked by the first questions after it, before anything
// is sorted again.
TEST_F(TerrainIndex, SortedBlocksStayTrueThroughEveryChange) {
  // A pile round the origin with lines and points among it, and a
  // triangle far away to move in later.
  std::vector<primitive*> pile;
  auto near = [&] { return uniform(-110, 110); };
  const int piled = deep_or(120, 40), crate_ticks = deep_or(150, 24);
  const int pile_side = deep_or(200, 80), ground = deep_or(200, 64);  // squares checked
  const int settled = deep_or(200, 120);  // the square round the origin at the end
  for (int k = 0; k < piled; ++k) {
    if (k % 20 == 0) {
      int x = near(), y = near();
      pile.push_back(addVertex(x, y, x + 9, y + 4, x + 45, y + 20));  // a line
    } else if (k % 20 == 1) {
      int x = near(), y = near();
      pile.push_back(addVertex(x, y, x, y, x, y));  // a point
    } else {
      int x = near(), y = near();
      pile.push_back(addVertex(x, y, x + uniform(-60, 60), y + uniform(-60, 60),
                               x + uniform(-60, 60), y + uniform(-60, 60)));
    }
  }
  primitive* far = addVertex(5000, 5000, 5090, 5010, 5020, 5080);
  // The pile, and bare ground beside it.
  int known_empty_rectangles = 0;
  auto sorted_then_changed = [&](const char* change, auto apply) {
    SCOPED_TRACE(change);
    expect_square_agrees(-pile_side / 2, -pile_side / 2, pile_side, 2);
    expect_square_agrees(150, -100, ground, 2);
    known_empty_rectangles += expect_rectangles_known_empty_are(-100, -100, 450);
    apply();
    known_empty_rectangles += expect_rectangles_known_empty_are(-100, -100, 450);
    expect_square_agrees(-pile_side / 2, -pile_side / 2, pile_side, 1);
    expect_square_agrees(150, -100, ground, 1);
  };
  sorted_then_changed("static triangles added", [] {
    addVertex(-90, -80, 95, -70, -60, 90);
    addVertex(170, -90, 340, -50, 200, 80);
  });
  sorted_then_changed("every flag cleared", [&] {
    for (primitive* p = start_ptr; p; p = p->next) p->solid = false;
  });
  sorted_then_changed("every flag set", [&] {
    for (primitive* p = start_ptr; p; p = p->next) p->solid = true;
  });
  sorted_then_changed("a triangle moved in", [&] { moveTriangle(far, -4700, -4900); });
  sorted_then_changed("a pile triangle moved in place", [&] { moveTriangle(pile[7], 0, 0); });
  EXPECT_GT(known_empty_rectangles, 0) << "bare ground is known to be empty";
  // A crate-sized triangle crossing empty and filled blocks a few pixels a
  // tick, checked near it every tick.
  const int from = -300 + 3 * (150 - crate_ticks) / 2;  // a shorter run still ends in the pile
  primitive* crate = addVertex(from, from, from + 30, from, from, from + 30);
  expect_square_agrees(-settled / 2, -settled / 2, settled, 2);
  for (int tick = 0; tick < crate_ticks; ++tick) {
    moveTriangle(crate, 3, 3);
    expect_square_agrees(crate->x1 - 10, crate->y1 - 10, 50, 1);
  }
  // Freed and made again: nothing sorted before is trusted. The tables stay,
  // emptied, for the next level, whose first tick of play then takes no
  // memory; with nothing filed, no pixel of them is solid.
  const terrain_index::cell_blocks* tables = terrain_index::quick.blocks;
  freeCollisions();
  EXPECT_EQ(terrain_index::quick.blocks, tables);
  expect_square_agrees(-settled / 2, -settled / 2, settled, 1);
  addVertex(-100, -100, 100, -100, -100, 100);
  EXPECT_EQ(terrain_index::quick.blocks, tables);
  expect_square_agrees(-settled / 2, -settled / 2, settled, 2);
}

// A long game sorts cells all over a large level: the store of the mixed
// blocks' pixels fills, starts again, and the cells sorted before are
// sorted again when asked, never answered from what was overwritten.
TEST_F(TerrainIndex, CellsSortedLongAgoAreSortedAgain) {
  // A sliver across each cell of a 160 by 160 cell square, each a little
  // different: some 15 mixed blocks a cell, 380,000 in all.
  constexpr int CELLS = 160;
  for (int cy = 0; cy < CELLS; ++cy)
    for (int cx = 0; cx < CELLS; ++cx) {
      int x = cx * 64, y = cy * 64 + (cx * 7 + cy * 3) % 9;
      addVertex(x, y, x + 63, y + 45 + cx % 9, x, y + 3 + cy % 4);
    }
  auto ask_every_cell = [] {
    for (int cy = 0; cy < CELLS; ++cy)
      for (int cx = 0; cx < CELLS; ++cx)
        for (int k = 0; k < 24; ++k) collideAll(cx * 64 + k * 5 % 64, cy * 64 + k * 11 % 64);
  };
  ask_every_cell();
  ask_every_cell();
  for (int cell : {0, 1, 7, CELLS * CELLS / 2, CELLS * CELLS - 1})
    expect_agreement_near(cell % CELLS * 64 + 32, cell / CELLS * 64 + 32, 31, 400);
}

TEST_F(TerrainIndex, NearARectangleGivesEveryMeetingTriangleOnceInListOrder) {
  for (int k = deep_or(3000, 1000); k > 0; --k) add_random_triangle();
  for (int view = deep_or(300, 100); view > 0; --view) {
    int left = uniform(-EDGE - 1000, EDGE), top = uniform(-EDGE - 1000, EDGE);
    expect_near_gives_every_meeting_triangle(left, top, left + 800, top + 600);
  }
}

// Crates stacked at one place and a few elsewhere, moving every tick, up,
// down and sideways, through cell borders, while the questions come now
// every tick, now after many ticks of none: every answer is the walk's,
// alone, along paths, for the walk out of terrain and for the drawing,
// which skips the stack's triangles as it skips a real crate's.
TEST_F(TerrainIndex, StackedCratesMovingEveryTickAgree) {
  std::vector<primitive*> crates;
  auto crate_at = [&](int x, int y, bool drawn) {
    crates.push_back(addVertex(x, y, x + 64, y, x, y + 32));
    crates.push_back(addVertex(x + 64, y, x, y + 32, x + 64, y + 32));
    crates.end()[-1]->drawn = crates.end()[-2]->drawn = drawn;
  };
  addVertex(-3000, 0, 3000, 0, -3000, 200);  // ground
  addVertex(3000, 0, 3000, 200, -3000, 200);
  for (int k = deep_or(150, 40); k > 0; --k) crate_at(0, -32, false);
  for (int k = 0; k < 5; ++k) crate_at(-200 + 90 * k, -100 - 7 * k, true);
  expect_square_agrees(-40, -80, 150, 2);  // before the first move: static crates, sorted
  const int ticks = deep_or(160, 40);
  for (int tick = 0; tick < ticks; ++tick) {
    int dx = tick % 40 < 20 ? 0 : (tick % 80 < 40 ? 3 : -3), dy = tick < ticks / 2 ? -1 : 1;
    for (primitive* p : crates) moveTriangle(p, dx, dy);
    if (tick % 16 > 3) continue;  // some ticks ask nothing
    const primitive* top = crates.front();
    // The drawing may come first.
    expect_near_gives_every_meeting_triangle(top->x1 - 100, top->y1 - 50, top->x1, top->y1);
    expect_agreement_near(top->x1 + 32, top->y1 + 16, 60, 150);
    expect_square_agrees(top->x1 - 20, top->y1 - 20, 24, 1);
    expect_walk_box_solid(top->x1 + 5, top->y1 + 5);
  }
}

// Where the index's own ranges end: the grid's edge rows and columns, which
// also stand for everything beyond the grid, under huge triangles whose tips
// lie just past the grid on each side; and points far past the tips.
TEST_F(TerrainIndex, TheGridsEdgeRowsAgree) {
  constexpr int TIP = 100000, WIDE = 500000;  // the grid ends at -65,536 and 65,535
  addVertex(-WIDE, 0, WIDE, 0, 0, TIP);       // tip below the grid
  addVertex(-WIDE, 0, WIDE, 0, 0, -TIP);      // above
  addVertex(0, -WIDE, 0, WIDE, TIP, 0);       // right
  addVertex(0, -WIDE, 0, WIDE, -TIP, 0);      // left
  for (int along : {-70000, -3000, 0, 17, 4000, 70000})
    for (int out : {60000, 65471, 65535, 65536, 65600, 99990, 100001, 150000, 2000000000}) {
      for (int sign : {-1, 1}) {
        int across = sign * out;
        ASSERT_EQ(collideAll(along, across), collideAllScan(along, across))
            << along << "," << across;
        ASSERT_EQ(collideAll(across, along), collideAllScan(across, along))
            << across << "," << along;
        expect_walk_box_solid(along, across);
        expect_walk_box_solid(across, along);
      }
    }
}

// Flags cleared before the first question, so the cells are remembered and
// sorted with them cleared: copies of one shape, the first of them not
// solid, at the end of a cell's list and within it; and then set again.
TEST_F(TerrainIndex, FlagsClearedBeforeTheFirstQuestionAgree) {
  std::vector<primitive*> all;
  for (int k = 0; k < 40; ++k) {
    int x = uniform(-150, 150), y = uniform(-150, 150);
    for (int copy = 0; copy < 3; ++copy) {
      primitive* p = addVertex(x, y, x + 70, y + 10, x + 20, y + 60);
      p->solid = copy == 2 || k % 4 == 0;
      all.push_back(p);
    }
  }
  for (int k = 0; k < 20; ++k) {
    primitive* p = add_random_triangle();
    p->solid = k % 2 == 0;
    all.push_back(p);
  }
  const int side = deep_or(300, 100), left = deep_or(-160, -50);  // the pile's middle
  expect_square_agrees(left, left, side, 2);
  for (primitive* p : all) p->solid = !p->solid;
  expect_square_agrees(left, left, side, 2);
}

// Lists fill their store: 1,300 huge triangles over the whole square, none
// solid, and small solid ones among them, so that every cell's list is long
// and each a little different, and 900 lists hold more than the store.
// After the store begins again, the cells asked about first are asked
// again, and the walk's boxes hold. (CellsSortedLongAgoAreSortedAgain fills
// the other store.)
TEST_F(TerrainIndex, AFullListStoreBeginsAgain) {
  for (int k = 0; k < 1300; ++k) {
    primitive* p = addVertex(-uniform(3000, 9000), -uniform(3000, 9000), 30000 + uniform(0, 9000),
                             -uniform(3000, 9000), -uniform(3000, 9000), 30000 + uniform(0, 9000));
    p->solid = false;
  }
  for (int k = 0; k < 400; ++k) {
    int x = uniform(0, 1900), y = uniform(0, 1900);
    addVertex(x, y, x + uniform(-50, 50), y + uniform(-50, 50), x + uniform(-50, 50), y);
  }
  auto ask_cells = [&](int passes) {
    for (int cy = 0; cy < 30; ++cy)
      for (int cx = 0; cx < 30; ++cx)
        for (int k = 0; k < passes; ++k) {
          int x = cx * 64 + uniform(0, 63), y = cy * 64 + uniform(0, 63);
          ASSERT_EQ(collideAll(x, y), collideAllScan(x, y)) << "at (" << x << ", " << y << ")";
        }
  };
  ask_cells(1);  // 900 lists of over 1,300: more than the store's 2^20
  ask_cells(2);
  for (int k = 0; k < 100; ++k) expect_walk_box_solid(uniform(0, 1919), uniform(0, 1919));
}

// Corners can be set only by addVertex and moveTriangle; in debug builds the
// index checks, whenever a question walks a cell's chains, that the
// triangles there are filed at their corners now, so a stray write (made
// here behind the type's back) stops the game instead of giving wrong
// answers quietly: a crate's, at the next question near it, and a static
// triangle's, when the next cell near it is first asked about.
// (Only debug builds have the test, as only they have the check.)
#ifndef NDEBUG
TEST(TerrainIndexDeathTest, CornersWrittenBehindItsBackAreCaught) {
  primitive* crate = addVertex(0, 0, 64, 0, 0, 32);
  moveTriangle(crate, 0, 1);
  primitive* ground = addVertex(-500, 100, 500, 100, 0, 400);
  ASSERT_TRUE(collideAll(1, 2));
  ASSERT_TRUE(collideAll(0, 101));
  int stray = 5;
  auto write_behind_the_back = [stray](primitive* p) {
    std::memcpy(reinterpret_cast<char*>(p) + offsetof(primitive, x2), &stray, sizeof stray);
  };
  write_behind_the_back(crate);
  EXPECT_DEATH(collideAll(1, 2), "corners change only through moveTriangle");
  write_behind_the_back(ground);
  EXPECT_DEATH(collideAll(300, 101), "corners change only through moveTriangle");
  freeCollisions();
}
#endif

// A cell with too many shapes to sort is asked about often enough to be
// sorted: nothing is known of its blocks, and its answers come from its
// list, also after other cells' sorted pixels have filled the store after
// it.
TEST_F(TerrainIndex, CellsWithTooManyShapesToSortAnswerFromTheirLists) {
  for (int k = 0; k < 90; ++k) {  // 90 shapes in the cell at (0, 0)
    int x = uniform(0, 60), y = uniform(0, 60);
    addVertex(x, y, x + uniform(1, 9), y + uniform(-9, 9), x + uniform(-9, 9), y + uniform(1, 9));
  }
  for (int k = 0; k < 12; ++k) {  // a few shapes in the cell at (640, 0)
    int x = 640 + uniform(0, 60), y = uniform(0, 60);
    addVertex(x, y, x + uniform(5, 30), y + uniform(-9, 9), x + uniform(-9, 9), y + uniform(5, 30));
  }
  expect_square_agrees(0, 0, 64, 2);
  expect_square_agrees(640, 0, 64, 2);
  expect_square_agrees(0, 0, 64, 1);
}
