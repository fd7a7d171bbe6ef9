// One tick of a blob: the centre, the view and the bookkeeping. The rim
// points' own update is in wobblet_rim.cpp.
//
// Motion is carried out in one-pixel steps, each tested against the terrain
// before it is taken, so neither the centre nor a rim point moving on its own
// skips over a thin wall however fast it goes. The centre has no gravity of
// its own: the rim points fall, and their springs drag the centre after them.
//
// Nothing here allocates or touches a file: the step runs every tick for
// every blob.
#include "blob/pixel.h"
#include "blob/recovery_walk.h"
#include "blob/tuning.h"
#include "blob/wobblet.h"
#include "level/index/blob_questions.h"
#include "shell/angles.h"
#include "shell/view.h"

using namespace blob_tuning;

void obj_wobblet::step() {
  steer();
  apply_friction();
  move_centre();
  recover_from_terrain();
  update_rim_points();
  refresh_wrap_slot();
  ease_view();
  remember_position();
}

// Left and Right give the controlled blob a small push each tick they are
// held. The key handling never leaves both flags set.
void obj_wobblet::steer() {
  if (control_index != 0) return;
  if (move_left) motion_add(LEFT, STEER_IMPULSE);
  if (move_right) motion_add(RIGHT, STEER_IMPULSE);
}

void obj_wobblet::apply_friction() {
  speed = speed - CENTRE_FRICTION;
  if (speed < 0) speed = 0;
  if (speed > MAX_CENTRE_SPEED) speed = MAX_CENTRE_SPEED;
}

// ceil(speed) one-pixel steps along the direction (speed is re-read after
// every step). The first step into terrain is refused and wipes the whole
// speed, which ends the walk; the direction is kept.
void obj_wobblet::move_centre() {
  // The direction cannot change inside the walk, so the unit step is worked
  // out once; the sums below are the same bits either way.
  const unit_vector unit = centre_unit_.of(direction);  // lengthdir_x(1, direction)
  for (int j = 0; j < speed; ++j) {
    double next_x = unit.x + static_cast<double>(x);
    double next_y = unit.y + static_cast<double>(y);
    if (terrain_collides(to_pixel(next_x), to_pixel(next_y))) {
      speed = 0;
    } else {
      x = static_cast<float>(next_x);
      y = static_cast<float>(next_y);
    }
  }
}

// The centre can still end inside terrain: a platform may have moved into
// it, or rounding the double step to float may have crossed a pixel border
// that the test of the double did not. It then goes back to where it was a
// tick ago and walks against its direction of motion until it is free. The
// walk is bounded so that terrain without an end along the walk cannot hang
// the game; past the bound the centre stays at its previous position.
void obj_wobblet::recover_from_terrain() {
  if (!terrain_collides(to_pixel(x), to_pixel(y))) return;
  x = static_cast<float>(prev_x);
  y = static_cast<float>(prev_y);
  const double back_x = lengthdir_x(1, direction + HALF_TURN);
  const double back_y = lengthdir_y(1, direction + HALF_TURN);
  // Deep in terrain the walk crosses whole cells the terrain is known to
  // fill: their pixels need no question each, and their steps are taken
  // many at a time.
  solid_box known;
  for (int walked = 0; collideAllWithin(to_pixel(x), to_pixel(y), known);) {
    if (walked == RECOVERY_WALK_LIMIT) {
      x = static_cast<float>(prev_x);
      y = static_cast<float>(prev_y);
      break;
    }
    walked += walk_through_solid(x, y, back_x, back_y, known, RECOVERY_WALK_LIMIT - walked);
  }
  speed = 0;
}

// Slot point_count mirrors slot 0 so that the ring's edges are the pairs
// (i, i + 1) for every i.
void obj_wobblet::refresh_wrap_slot() {
  rim_x[point_count] = rim_x[0];
  rim_y[point_count] = rim_y[0];
  rim_speed[point_count] = rim_speed[0];
  rim_direction[point_count] = rim_direction[0];
}

// The controlled blob pulls the view a tenth of the way towards the corner
// that would centre it. The view is whole pixels, so each axis moves by its
// tenth truncated toward zero: the view glides in quickly, slows as it
// closes, and stops for good once a tenth of the remaining distance is under
// a pixel on an axis, up to nine pixels short of the blob. That small dead
// zone keeps the picture still while the blob wobbles at rest.
void obj_wobblet::ease_view() {
  if (control_index != 0) return;
  double target_x = static_cast<double>(x) - WINDOW_WIDTH / 2;
  double target_y = static_cast<double>(y) - WINDOW_HEIGHT / 2;
  double dist = point_distance(target_x, target_y, view_x, view_y);
  if (dist == 0) return;  // also the only case where the direction is NaN
  double dir = point_direction(target_x, target_y, view_x, view_y) + HALF_TURN;
  view_x = view_x + to_pixel(lengthdir_x(dist / CAMERA_FRACTION, dir));
  view_y = view_y + to_pixel(lengthdir_y(dist / CAMERA_FRACTION, dir));
}

void obj_wobblet::remember_position() {
  prev_x = x;
  prev_y = y;
}
