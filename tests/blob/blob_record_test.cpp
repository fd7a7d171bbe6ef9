// Creation, styles and the impulse arithmetic of a blob.
#include <cmath>

#include "blob_world.h"

namespace {
using record = blob_world;

TEST_F(record, creation_puts_every_rim_slot_on_the_centre_at_rest) {
  obj_wobblet* b = add_blob(1, 30, -40);
  EXPECT_EQ(b->point_count, 20);
  EXPECT_EQ(b->radius, 20.0);
  EXPECT_EQ(b->radius_slack, 0.0);
  EXPECT_EQ(b->speed, 0.0);
  EXPECT_EQ(b->direction, 270.0);
  EXPECT_FALSE(b->move_left);
  EXPECT_FALSE(b->move_right);
  for (int k = 0; k <= 20; ++k) {
    EXPECT_EQ(b->rim_x[k], 30.0) << k;
    EXPECT_EQ(b->rim_y[k], -40.0) << k;
    EXPECT_EQ(b->rim_speed[k], 0.0) << k;
    EXPECT_EQ(b->rim_direction[k], 0.0) << k;
  }
  // Before the first step, the previous position is where it was made.
  EXPECT_EQ(b->prev_x, 30.0);
  EXPECT_EQ(b->prev_y, -40.0);
}

struct style_row {
  int code;
  int fill[3];
  int line[3];
  double gravity;
  int stiffness;
};

TEST_F(record, type_codes_select_control_index_style_and_its_table_row) {
  const style_row rows[] = {
      {1, {128, 200, 255}, {42, 165, 255}, 0.75, 8}, {2, {200, 0, 0}, {128, 0, 0}, 0.75, 8},
      {3, {96, 96, 96}, {64, 64, 64}, 0.85, 8},      {4, {255, 255, 255}, {128, 128, 128}, 0.5, 16},
      {5, {200, 200, 0}, {128, 128, 0}, 0.75, 8},
  };
  for (const style_row& r : rows) {
    obj_wobblet* b = add_blob(r.code, 0, 0);
    SCOPED_TRACE(r.code);
    EXPECT_EQ(b->control_index, r.code - 1);
    EXPECT_EQ(b->style, r.code - 1);
    EXPECT_EQ(b->fill_r, r.fill[0]);
    EXPECT_EQ(b->fill_g, r.fill[1]);
    EXPECT_EQ(b->fill_b, r.fill[2]);
    EXPECT_EQ(b->line_r, r.line[0]);
    EXPECT_EQ(b->line_g, r.line[1]);
    EXPECT_EQ(b->line_b, r.line[2]);
    EXPECT_EQ(b->gravity, r.gravity);
    EXPECT_EQ(b->stiffness, r.stiffness);
  }
}

TEST_F(record, two_blobs_of_one_code_share_the_control_index) {
  obj_wobblet* a = add_blob(1, 0, 0);
  obj_wobblet* b = add_blob(1, 100, 0);
  EXPECT_EQ(a->control_index, 0);
  EXPECT_EQ(b->control_index, 0);
}

TEST_F(record, impulses_add_as_vectors) {
  obj_wobblet* b = add_blob(1, 0, 0);
  b->motion_add(0, 0.25);
  EXPECT_EQ(b->speed, 0.25);
  EXPECT_EQ(b->direction, 0.0);
  // The x parts cancel exactly; the y parts leave a residue of the sine of
  // 180 degrees, which points straight up.
  b->motion_add(180, 0.25);
  EXPECT_GT(b->speed, 0.0);
  EXPECT_LT(b->speed, 1e-16);
  EXPECT_NEAR(b->speed, 3.06e-17, 0.01e-17);
  EXPECT_EQ(b->direction, 90.0);

  b->speed = 0;
  b->motion_add(90, 15);
  EXPECT_EQ(b->speed, 15.0);
  EXPECT_NEAR(b->direction, 90.0, 1e-12);

  // Three to the right and four down make five, below the horizon.
  b->speed = 0;
  b->motion_add(0, 3);
  b->motion_add(270, 4);
  EXPECT_NEAR(b->speed, 5.0, 1e-12);
  EXPECT_NEAR(b->direction, 360 - 53.13010235415598, 1e-9);
}

TEST_F(record, a_negative_length_pushes_the_other_way) {
  obj_wobblet* b = add_blob(1, 0, 0);
  b->motion_add(0, -2);
  EXPECT_EQ(b->speed, 2.0);
  EXPECT_NEAR(b->direction, 180.0, 1e-12);
}

TEST_F(record, rim_impulses_reach_only_their_own_point) {
  obj_wobblet* b = add_blob(1, 0, 0);
  b->motion_add(7, 90, 1.5);
  EXPECT_EQ(b->rim_speed[7], 1.5);
  EXPECT_NEAR(b->rim_direction[7], 90.0, 1e-12);
  EXPECT_EQ(b->rim_speed[6], 0.0);
  EXPECT_EQ(b->rim_speed[8], 0.0);
  EXPECT_EQ(b->speed, 0.0);
}

// An impulse that cancels the velocity exactly has no direction to give;
// the velocity keeps its old direction with speed 0, and the blob goes on
// with finite numbers instead of turning to NaN for good.
TEST_F(record, an_exactly_cancelling_impulse_keeps_the_direction_and_stops) {
  obj_wobblet* b = add_blob(1, 0, 0);
  b->speed = 2;
  b->direction = 0;
  b->motion_add(0, -2);
  EXPECT_EQ(b->speed, 0.0);
  EXPECT_EQ(b->direction, 0.0);

  b->motion_add(3, 45, 0);  // a zero-length impulse on a point at rest
  EXPECT_EQ(b->rim_speed[3], 0.0);
  EXPECT_EQ(b->rim_direction[3], 0.0);

  b->motion_add(90, 1);
  EXPECT_EQ(b->speed, 1.0);
  EXPECT_NEAR(b->direction, 90.0, 1e-12);
  step_all(50);
  EXPECT_TRUE(blob_sane(*b));
}
}  // namespace
