// Whole blobs on small terrains, many ticks at a time: what a player sees.
// The numbers pinned here were first watched, then checked against the
// rules: a resting blob is squashed to about two thirds of its height, walks
// at under 3 pixels a tick, climbs gentle slopes and stalls on steep ones.
#include <cmath>

#include "blob_world.h"
#include "level/terrain.h"
#include "shell/view.h"

namespace {
using scenario = blob_world;

constexpr int FLOOR_TOP = 100;  // pixels

void add_floor() { blob_world::add_box(-2000, FLOOR_TOP, 2000, FLOOR_TOP + 100); }

TEST_F(scenario, a_dropped_blob_falls_squashes_and_rests_on_the_ground) {
  add_floor();
  obj_wobblet* b = add_blob(1, 0, 0);
  double lowest_centre = 0;
  for (int t = 0; t < 150; ++t) {
    step_all();
    ASSERT_TRUE(blob_sane(*b)) << "tick " << t;
    // No rim point ever ends more than a pixel inside the ground.
    ASSERT_LT(rim_bottom(*b), FLOOR_TOP + 1) << "tick " << t;
    lowest_centre = std::fmax(lowest_centre, b->y);
  }
  // On landing the centre sinks to within a pixel of the floor before the
  // springs throw it back up.
  EXPECT_GT(lowest_centre, FLOOR_TOP - 2);
  // At rest: bottom on the ground, centre about 13.5 pixels up (squashed from
  // 20), and staying there. The centre walks in whole pixels whenever any
  // speed is left after friction, and the springs leave a few hundredths of
  // a pixel a tick, so a resting centre may bob by one pixel now and then;
  // it never wanders.
  float rest_x = b->x, rest_y = b->y;
  EXPECT_GE(rim_bottom(*b), FLOOR_TOP);
  EXPECT_NEAR(b->y, FLOOR_TOP - 13.5, 1.5);
  EXPECT_NEAR(b->x, 0, 1);
  for (int t = 0; t < 300; ++t) {
    step_all();
    ASSERT_NEAR(b->x, rest_x, 0.01) << "tick " << t;
    ASSERT_NEAR(b->y, rest_y, 1) << "tick " << t;
  }
}

TEST_F(scenario, a_controlled_blob_held_right_travels_along_flat_ground) {
  add_floor();
  obj_wobblet* b = add_blob(1, 0, 60);
  step_all(100);
  float start_x = b->x;
  press(SDLK_RIGHT);
  for (int t = 0; t < 200; ++t) {
    step_all();
    ASSERT_NEAR(b->y, FLOOR_TOP - 15, 6) << "tick " << t;  // rolling, not hopping
    ASSERT_LT(rim_bottom(*b), FLOOR_TOP + 1) << "tick " << t;
  }
  double per_tick = (b->x - start_x) / 200;
  EXPECT_GT(per_tick, 2.3);
  EXPECT_LT(per_tick, 3.2);
  // Released, friction stops it within a second.
  release(SDLK_RIGHT);
  step_all(60);
  float stopped = b->x;
  step_all(60);
  EXPECT_NEAR(b->x, stopped, 1.0);
}

// The centre leaves at 15 pixels per tick, but the rim, thrown out from the
// centre and falling, drags it back through the springs: it tops out about
// 117 pixels up after 18 ticks and is back on the ground within a second.
TEST_F(scenario, a_jump_from_rest_rises_about_117_pixels_and_lands) {
  add_floor();
  obj_wobblet* b = add_blob(1, 0, 60);
  step_all(100);
  float rest_y = b->y;
  press(SDLK_UP);
  float highest = rest_y;
  int top_tick = 0;
  for (int t = 1; t <= 120; ++t) {
    step_all();
    if (b->y < highest) {
      highest = b->y;
      top_tick = t;
    }
  }
  EXPECT_NEAR(rest_y - highest, 117, 5);
  EXPECT_NEAR(top_tick, 18, 3);
  EXPECT_NEAR(b->y, rest_y, 2);
}

TEST_F(scenario, two_blobs_sharing_the_index_are_steered_together) {
  add_floor();
  obj_wobblet* a = add_blob(1, -500, 60);
  obj_wobblet* b = add_blob(1, 500, 60);
  obj_wobblet* idle = add_blob(2, 0, 60);
  step_all(100);
  float a0 = a->x, b0 = b->x, idle0 = idle->x;
  press(SDLK_RIGHT);
  step_all(100);
  EXPECT_GT(a->x - a0, 200);
  EXPECT_GT(b->x - b0, 200);
  EXPECT_NEAR((a->x - a0) - (b->x - b0), 0, 20);
  EXPECT_NEAR(idle->x, idle0, 1);
}

// Tab while Right is held: the newly controlled blob rolls off at once, the
// old one coasts to a stop, and the view turns to follow the new one.
TEST_F(scenario, tab_hands_control_on_while_an_arrow_is_held) {
  add_floor();
  obj_wobblet* first = add_blob(1, 0, 60);
  obj_wobblet* second = add_blob(2, 300, 60);
  step_all(100);
  press(SDLK_RIGHT);
  step_all(50);
  press(SDLK_TAB);
  float first_at_tab = first->x, second_at_tab = second->x;
  step_all(100);
  EXPECT_LT(first->x - first_at_tab, 40);
  EXPECT_GT(second->x - second_at_tab, 200);
  // The view trails a blob rolling at about 3 pixels a tick by about ten
  // ticks' travel.
  EXPECT_NEAR(view_x, second->x - 400, 40);
}

// A crate moves 200 pixels up and back down every 400 ticks. A blob resting
// on it rides along: the crate pushes into the bottom rim points, which press
// the centre up through their springs; going down, the blob falls after it.
TEST_F(scenario, a_blob_rides_a_moving_crate_up_and_down) {
  add_box(-1000, 300, 1000, 400);
  obj_platform* crate = add_platform(-32, 250);
  obj_wobblet* b = add_blob(1, 0, 150);
  for (int t = 0; t < 1200; ++t) {
    step_all();
    ASSERT_TRUE(blob_sane(*b)) << "tick " << t;
    if (t < 60) continue;  // still landing on it
    double gap = crate->y - rim_bottom(*b);
    ASSERT_GT(gap, -2.0) << "tick " << t;  // at most a pixel or so inside
    ASSERT_LT(gap, 1.0) << "tick " << t;   // never left behind in the air
    ASSERT_NEAR(b->x, 0, 10) << "tick " << t;
  }
}

// The same when the crate comes first in the list and steps before the blob.
TEST_F(scenario, a_crate_stepped_first_carries_the_blob_as_well) {
  add_box(-1000, 300, 1000, 400);
  obj_wobblet* b = add_blob(1, 0, 150);
  obj_platform* crate = add_platform(-32, 250);
  for (int t = 0; t < 800; ++t) {
    step_all();
    if (t < 60) continue;
    double gap = crate->y - rim_bottom(*b);
    ASSERT_GT(gap, -2.5) << "tick " << t;
    ASSERT_LT(gap, 1.0) << "tick " << t;
  }
}

// A ramp of the given angle rising to the right from x = 100, 600 pixels
// long, with a plateau after it.
void add_ramp(double degrees) {
  const double pi = 3.141592653589793;
  int rise = static_cast<int>(std::lround(600 * std::tan(degrees * pi / 180)));
  addVertex(100, FLOOR_TOP, 700, FLOOR_TOP, 700, FLOOR_TOP - rise);
  blob_world::add_box(700, FLOOR_TOP - rise, 1500, FLOOR_TOP);
}

// Held right for a thousand ticks from a rest at x = 0. Gentle slopes are
// climbed, steeper ones ever more slowly, and from about 30 degrees the blob
// cannot get past the foot: the rim points pressed into the slope push the
// centre back down and away through their springs harder than steering's
// quarter pixel per tick pushes it on.
double distance_climbed(double degrees) {
  blob_world::reset();
  add_floor();
  add_ramp(degrees);
  obj_wobblet* b = blob_world::add_blob(1, 0, 60);
  blob_world::step_all(100);
  blob_world::press(SDLK_RIGHT);
  double furthest = b->x;
  for (int t = 0; t < 1000; ++t) {
    blob_world::step_all();
    furthest = std::fmax(furthest, b->x);
  }
  EXPECT_TRUE(blob_sane(*b)) << degrees << " degrees";
  return furthest;
}

TEST_F(scenario, slopes_up_to_fifteen_degrees_are_climbed_to_the_top) {
  for (double degrees : {5.0, 10.0, 15.0}) EXPECT_GT(distance_climbed(degrees), 1400) << degrees;
}

TEST_F(scenario, slopes_of_twenty_and_twenty_five_degrees_are_climbed_slowly) {
  for (double degrees : {20.0, 25.0}) {
    double reached = distance_climbed(degrees);
    EXPECT_GT(reached, 250) << degrees << " degrees";
    EXPECT_LT(reached, 1400) << degrees << " degrees";
  }
}

TEST_F(scenario, slopes_of_thirty_degrees_and_more_stop_the_blob_at_the_foot) {
  for (double degrees : {30.0, 45.0, 60.0}) EXPECT_LT(distance_climbed(degrees), 130) << degrees;
}

// Ceiling, floor and walls 100 pixels thick: whatever the keys do, the centre
// stays inside the room. Rim points can end a few pixels inside a wall: a
// point whose direction from the centre is off its spoke is put back on the
// spoke at the same distance, but the march that keeps points out of terrain
// follows the old direction, which can miss the wall the spoke runs into.
// The next tick's springs and march pull such a point out again.
TEST_F(scenario, nothing_passes_through_thick_walls) {
  add_box(-400, 200, 400, 300);    // floor
  add_box(-400, -300, 400, -200);  // ceiling
  add_box(-500, -300, -400, 300);  // walls
  add_box(400, -300, 500, 300);
  obj_wobblet* b = add_blob(1, 0, 0);
  const SDLKey moves[] = {SDLK_RIGHT, SDLK_UP, SDLK_LEFT, SDLK_UP, SDLK_DOWN, SDLK_RIGHT};
  for (int round = 0; round < 30; ++round) {
    press(moves[round % 6]);
    for (int t = 0; t < 40; ++t) {
      step_all();
      ASSERT_GT(b->x, -400);
      ASSERT_LT(b->x, 400);
      ASSERT_GT(b->y, -200);
      ASSERT_LT(b->y, 200);
      for (int i = 0; i < 20; ++i) {
        ASSERT_GT(b->rim_x[i], -410) << "round " << round;
        ASSERT_LT(b->rim_x[i], 410) << "round " << round;
        ASSERT_GT(b->rim_y[i], -210) << "round " << round;
        ASSERT_LT(b->rim_y[i], 210) << "round " << round;
      }
    }
  }
}
}  // namespace
