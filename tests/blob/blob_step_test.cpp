// The centre's motion, the recovery from inside terrain and the view's easing,
// measured on blobs whose rim is settled on its circle so that the springs
// add nothing.
#include <cmath>

#include "blob_world.h"
#include "level/terrain.h"
#include "shell/view.h"

namespace {
using centre_motion = blob_world;

// A blob that is not steered and whose springs are quiet: after one step the
// centre has moved by exactly what its speed allows.
obj_wobblet* quiet_blob(int x, int y) {
  obj_wobblet* b = blob_world::add_blob(2, x, y);  // control index 1: not steered
  settle_on_circle(*b);
  return b;
}

TEST_F(centre_motion, moves_in_whole_pixel_steps_after_friction) {
  struct {
    double speed;     // pixels per tick before friction
    double expected;  // pixels moved
  } cases[] = {{0.25, 1}, {0.05, 0}, {0.04, 0}, {2.05, 2}, {2.35, 3}, {15.05, 15}, {40, 15}};
  for (const auto& c : cases) {
    reset();
    obj_wobblet* b = quiet_blob(0, 0);
    b->speed = c.speed;
    b->direction = 0;
    step_all();
    EXPECT_EQ(b->x, c.expected) << "speed " << c.speed;
    EXPECT_EQ(b->y, 0.0) << "speed " << c.speed;
  }
}

TEST_F(centre_motion, friction_stops_a_slow_centre_and_keeps_its_direction) {
  obj_wobblet* b = quiet_blob(0, 0);
  b->speed = 0.04;
  b->direction = 123;
  step_all();
  EXPECT_EQ(b->speed, 0.0);
  EXPECT_EQ(b->direction, 123.0);
}

TEST_F(centre_motion, the_first_blocked_step_stops_the_centre_and_wipes_its_speed) {
  add_box(5, -50, 60, 50);
  obj_wobblet* b = quiet_blob(0, 0);
  b->speed = 10.05;
  b->direction = 0;
  step_all();
  EXPECT_EQ(b->x, 4.0);  // pixel 5 is the wall's face
  // The rest of the 10 pixels per tick is gone; what speed there is came
  // from the springs, which felt the centre move 4 pixels.
  EXPECT_LT(b->speed, 1.0);
}

TEST_F(centre_motion, a_blocked_first_step_leaves_the_centre_in_place) {
  add_box(1, -50, 60, 50);
  obj_wobblet* b = quiet_blob(0, 0);
  b->speed = 5;
  b->direction = 0;
  step_all();
  EXPECT_EQ(b->x, 0.0);
  EXPECT_EQ(b->speed, 0.0);
  EXPECT_EQ(b->direction, 0.0);
}

// Positions become pixels by truncation toward zero: -0.7 is pixel 0, so a
// wall on pixel -1 does not stop a centre that reaches x = -0.7.
TEST_F(centre_motion, terrain_tests_truncate_toward_zero) {
  add_box(-60, -50, -1, 50);
  obj_wobblet* b = quiet_blob(0, 0);
  b->x = 0.3f;
  b->speed = 1.05;
  b->direction = 180;
  step_all();
  EXPECT_FLOAT_EQ(b->x, -0.7f);
}

using recovery = blob_world;

// Terrain appears around a resting centre (as when a crate moves into it):
// the centre walks back against its direction of motion, straight up here,
// until it is free.
TEST_F(recovery, a_centre_inside_terrain_walks_out_against_its_direction) {
  obj_wobblet* b = quiet_blob(0, 0);
  add_box(-10, -10, 10, 10);
  b->direction = 270;
  step_all();
  EXPECT_NEAR(b->x, 0.0, 1e-12);  // the cosine of 450 degrees leaves a residue
  EXPECT_EQ(b->y, -11.0);         // -10 is still the box's top edge
  EXPECT_EQ(b->prev_y, -11.0);
  EXPECT_TRUE(blob_sane(*b));
}

TEST_F(recovery, the_walk_starts_from_the_previous_position) {
  obj_wobblet* b = quiet_blob(0, 0);
  b->prev_x = 0;
  b->prev_y = -30;
  add_box(-10, -10, 10, 10);
  b->direction = 270;
  step_all();
  EXPECT_EQ(b->x, 0.0);
  EXPECT_EQ(b->y, -30.0);  // free already: no walk
}

// Terrain that does not end along the walk: the walk gives up after ten
// thousand pixels and the centre stays where it was a tick ago.
TEST_F(recovery, a_walk_that_finds_no_way_out_returns_to_the_previous_position) {
  obj_wobblet* b = quiet_blob(0, 0);
  add_box(-20000, -20000, 20000, 20000);
  b->direction = 270;
  for (int t = 0; t < 3; ++t) {
    step_all();
    EXPECT_EQ(b->x, 0.0);
    EXPECT_EQ(b->y, 0.0);
    EXPECT_TRUE(blob_sane(*b));
  }
}

TEST_F(recovery, a_walk_of_exactly_the_limit_still_gets_out) {
  obj_wobblet* b = quiet_blob(0, 0);
  add_box(-50, -9999, 50, 50);  // the walk up is free at y = -10000
  b->direction = 270;
  step_all();
  EXPECT_EQ(b->y, -10000.0);
}

using camera = blob_world;

// A controlled blob pinned at (500, 300) wants the view at (100, 0).
int ease_once_towards(obj_wobblet* b, float x, float y) {
  b->x = x;
  b->y = y;
  settle_on_circle(*b);
  blob_world::step_all();
  return view_x;
}

TEST_F(camera, the_view_closes_a_truncated_tenth_and_stops_nine_pixels_short) {
  obj_wobblet* b = add_blob(1, 500, 300);
  const int expected[] = {10, 19, 27, 34, 40, 46, 51, 55, 59, 63};
  for (int want : expected) EXPECT_EQ(ease_once_towards(b, 500, 300), want);
  for (int t = 0; t < 100; ++t) ease_once_towards(b, 500, 300);
  EXPECT_EQ(view_x, 91);
  EXPECT_EQ(view_y, 0);
}

// Truncation toward zero, not floor: to the left it also stops 9 short.
TEST_F(camera, leftwards_the_view_also_stops_nine_pixels_short) {
  obj_wobblet* b = add_blob(1, 300, 300);
  EXPECT_EQ(ease_once_towards(b, 300, 300), -10);
  for (int t = 0; t < 100; ++t) ease_once_towards(b, 300, 300);
  EXPECT_EQ(view_x, -91);
  EXPECT_EQ(view_y, 0);
}

TEST_F(camera, a_view_on_its_target_stays) {
  obj_wobblet* b = add_blob(1, 500, 300);
  view_x = 100;
  view_y = 0;
  ease_once_towards(b, 500, 300);
  EXPECT_EQ(view_x, 100);
  EXPECT_EQ(view_y, 0);
}

// The target (300, 400) is 500 away: a tenth is 30 across and 40 down, but
// the sine comes out as 39.99999999999998 and truncates to 39.
TEST_F(camera, diagonal_steps_truncate_what_the_trigonometry_leaves) {
  obj_wobblet* b = add_blob(1, 700, 700);
  ease_once_towards(b, 700, 700);
  EXPECT_EQ(view_x, 30);
  EXPECT_EQ(view_y, 39);
}

TEST_F(camera, only_a_controlled_blob_moves_the_view) {
  obj_wobblet* b = add_blob(2, 500, 300);
  ease_once_towards(b, 500, 300);
  EXPECT_EQ(view_x, 0);
  EXPECT_EQ(view_y, 0);
}

// Two controlled blobs each ease the view in the same tick.
TEST_F(camera, every_controlled_blob_eases_the_view_in_list_order) {
  obj_wobblet* a = add_blob(1, 500, 300);
  obj_wobblet* b = add_blob(1, 500, 300);
  settle_on_circle(*a);
  settle_on_circle(*b);
  step_all();
  EXPECT_EQ(view_x, 19);
}
}  // namespace
