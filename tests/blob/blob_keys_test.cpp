// Keys as the game's event pass hands them to every object: steering flags,
// Tab, the jump and the push down.
#include <cstring>

#include "blob_world.h"

namespace {
using keys = blob_world;

bool same_record(const obj_wobblet& a, const obj_wobblet& b) {
  return a.x == b.x && a.y == b.y && a.speed == b.speed && a.direction == b.direction &&
         a.control_index == b.control_index && a.move_left == b.move_left &&
         a.move_right == b.move_right && std::memcmp(a.rim_x, b.rim_x, sizeof a.rim_x) == 0 &&
         std::memcmp(a.rim_y, b.rim_y, sizeof a.rim_y) == 0 &&
         std::memcmp(a.rim_speed, b.rim_speed, sizeof a.rim_speed) == 0 &&
         std::memcmp(a.rim_direction, b.rim_direction, sizeof a.rim_direction) == 0;
}

// A copy of the fields keys may change, to compare before and after.
struct snapshot {
  explicit snapshot(const obj_wobblet& b) { copy_state(b, saved); }
  static void copy_state(const obj_wobblet& from, obj_wobblet& to) {
    to.x = from.x;
    to.y = from.y;
    to.speed = from.speed;
    to.direction = from.direction;
    to.control_index = from.control_index;
    to.move_left = from.move_left;
    to.move_right = from.move_right;
    std::memcpy(to.rim_x, from.rim_x, sizeof to.rim_x);
    std::memcpy(to.rim_y, from.rim_y, sizeof to.rim_y);
    std::memcpy(to.rim_speed, from.rim_speed, sizeof to.rim_speed);
    std::memcpy(to.rim_direction, from.rim_direction, sizeof to.rim_direction);
  }
  obj_wobblet saved;
};

TEST_F(keys, arrows_set_and_clear_their_flags_on_every_blob) {
  obj_wobblet* controlled = add_blob(1, 0, 0);
  obj_wobblet* other = add_blob(3, 100, 0);
  for (obj_wobblet* b : {controlled, other}) {
    press(SDLK_LEFT);
    EXPECT_TRUE(b->move_left);
    EXPECT_FALSE(b->move_right);
    press(SDLK_RIGHT);  // Left still held
    EXPECT_FALSE(b->move_left);
    EXPECT_TRUE(b->move_right);
    release(SDLK_RIGHT);  // the blob no longer steers, though Left is held
    EXPECT_FALSE(b->move_left);
    EXPECT_FALSE(b->move_right);
    release(SDLK_LEFT);
    EXPECT_FALSE(b->move_left);
    EXPECT_FALSE(b->move_right);
  }
}

TEST_F(keys, tab_counts_every_index_down_and_wraps_to_four) {
  obj_wobblet* blobs[5];
  for (int code = 1; code <= 5; ++code) blobs[code - 1] = add_blob(code, 100 * code, 0);
  press(SDLK_TAB);
  const int after_one[] = {4, 0, 1, 2, 3};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(blobs[k]->control_index, after_one[k]);
  press(SDLK_TAB);
  EXPECT_EQ(blobs[0]->control_index, 3);
  EXPECT_EQ(blobs[2]->control_index, 0);  // control passes in creation order
  for (int t = 0; t < 3; ++t) press(SDLK_TAB);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(blobs[k]->control_index, k);
}

TEST_F(keys, releasing_tab_up_or_down_changes_nothing) {
  add_box(-100, 20, 100, 60);
  obj_wobblet* b = add_blob(1, 0, 0);
  step_all(5);
  snapshot before(*b);
  for (SDLKey k : {SDLK_TAB, SDLK_UP, SDLK_DOWN, SDLK_a, SDLK_ESCAPE}) release(k);
  EXPECT_TRUE(same_record(*b, before.saved));
}

TEST_F(keys, other_keys_change_nothing) {
  add_box(-100, 20, 100, 60);
  obj_wobblet* b = add_blob(1, 0, 0);
  step_all(5);
  snapshot before(*b);
  for (SDLKey k : {SDLK_a, SDLK_SPACE, SDLK_ESCAPE, SDLK_RETURN}) press(k);
  EXPECT_TRUE(same_record(*b, before.saved));
}

// The ground test looks at the pixel one radius (20) below the centre.
TEST_F(keys, up_jumps_when_the_pixel_one_radius_below_is_solid) {
  add_box(-100, 20, 100, 60);  // top face at y = 20
  obj_wobblet* b = add_blob(1, 0, 0);
  b->x = 3.5f;
  b->y = -0.5f;  // truncates to 0, so the test is at (3, 20): the face
  b->speed = 2;
  b->direction = 0;
  press(SDLK_UP);
  EXPECT_EQ(b->speed, 15.0);
  EXPECT_NEAR(b->direction, 90.0, 1e-12);
  for (int k = 0; k <= 20; ++k) {
    EXPECT_EQ(b->rim_x[k], 3.5) << k;
    EXPECT_EQ(b->rim_y[k], -0.5) << k;
    EXPECT_EQ(b->rim_speed[k], 0.0) << k;
    EXPECT_EQ(b->rim_direction[k], 0.0) << k;
  }
  // Next tick the centre rises the full 15 pixels (friction leaves 14.95).
  step_all();
  EXPECT_FLOAT_EQ(b->y, -15.5f);
  EXPECT_TRUE(blob_sane(*b));
}

TEST_F(keys, up_does_nothing_above_the_ground_or_for_a_blob_not_in_control) {
  add_box(-100, 21, 100, 60);  // one pixel too low
  obj_wobblet* high = add_blob(1, 0, 0);
  obj_wobblet* idle = add_blob(2, 200, 0);
  add_box(150, 20, 250, 60);  // under the idle blob, at the right height
  snapshot high_before(*high);
  snapshot idle_before(*idle);
  press(SDLK_UP);
  EXPECT_TRUE(same_record(*high, high_before.saved));
  EXPECT_TRUE(same_record(*idle, idle_before.saved));
}

TEST_F(keys, up_in_mid_air_does_nothing) {
  add_box(-200, 100, 200, 200);
  obj_wobblet* b = add_blob(1, 0, -100);
  step_all(10);  // falling
  snapshot before(*b);
  press(SDLK_UP);
  EXPECT_TRUE(same_record(*b, before.saved));
}

TEST_F(keys, down_pushes_the_controlled_blob_three_pixels_down) {
  obj_wobblet* b = add_blob(1, 0, 0);
  obj_wobblet* idle = add_blob(2, 100, 0);
  settle_on_circle(*b);
  settle_on_circle(*idle);
  press(SDLK_DOWN);
  EXPECT_EQ(b->speed, 3.0);
  EXPECT_NEAR(b->direction, 270.0, 1e-12);
  EXPECT_EQ(idle->speed, 0.0);
  step_all();  // friction leaves 2.95: still three steps
  EXPECT_FLOAT_EQ(b->y, 3.0f);
  EXPECT_EQ(idle->y, 0.0f);
}

TEST_F(keys, each_press_of_down_is_one_push) {
  obj_wobblet* b = add_blob(1, 0, -500);
  step_all(10);  // in the air, falling
  double before = b->speed;
  press(SDLK_DOWN);
  press(SDLK_DOWN);
  EXPECT_NEAR(b->speed, before + 6, 0.5);  // falling nearly straight down
}

TEST_F(keys, right_held_steers_only_the_controlled_blob) {
  obj_wobblet* b = add_blob(1, 0, 0);
  obj_wobblet* idle = add_blob(2, 100, 0);
  settle_on_circle(*b);
  settle_on_circle(*idle);
  press(SDLK_RIGHT);
  step_all();
  // An impulse of 0.25 less 0.05 friction: 0.2, one pixel to the right.
  EXPECT_EQ(b->x, 1.0f);
  EXPECT_EQ(b->y, 0.0f);
  EXPECT_EQ(idle->x, 100.0f);
  EXPECT_EQ(idle->speed, 0.0);
}
}  // namespace
