// The rim points' part of a blob's tick. Each point in turn is measured
// against its rest position on the circle, pushed or pulled by its spring,
// put back on the circle, dropped by gravity, moved by its own speed, and
// finally kept out of the terrain by a march from the centre.
//
// The centre does not move while the points are processed: the impulses the
// springs give it act from the next tick's centre motion on.
#include <cmath>

#include "blob/march_bounds.h"
#include "blob/pixel.h"
#include "blob/tuning.h"
#include "blob/wobblet.h"
#include "level/index/blob_questions.h"
#include "shell/angles.h"

using namespace blob_tuning;

// Point i's spoke: i * 18 degrees with 20 points, computed in int first so
// the angles are exact whole degrees; point 0 is to the right of the centre
// and the index runs counter-clockwise on the screen.
double obj_wobblet::rest_angle(int i) const { return static_cast<double>(i * (360 / point_count)); }

void obj_wobblet::place_on_spoke(int i, double centre_x, double centre_y, double length) {
  unit_vector spoke = unit_of(rest_angle(i));
  rim_x[i] = centre_x + spoke.x * length;  // lengthdir_x(length, angle)
  rim_y[i] = centre_y + spoke.y * length;
}

// Each point goes through springs, reset, gravity, own motion and march
// in this order, and the centre takes the springs' impulses in the order of
// the points. A point's update reads and writes that point alone, the
// centre's position (which stays put through this phase) and the terrain,
// and nothing in it reads the centre's velocity that the springs change.
// So the points can take each part in turn, all points at a time, and the
// centre its impulses a little later, with the very same bits: the
// processor then works on several points' sines, square roots and
// arctangents at once instead of waiting on one chain of them.
void obj_wobblet::update_rim_points() {
  const double centre_x = x;
  const double centre_y = y;
  const int points = point_count;
  centre_pushes pushes[BLOB_MAX_POINTS + 1];
  for (int i = 0; i < points; ++i) apply_springs(i, centre_x, centre_y, pushes[i]);
  for (int i = 0; i < points; ++i) reset_onto_circle(i, centre_x, centre_y);
  // The centre takes the springs' pushes in their order, each beside a
  // point's gravity, which does not wait on it.
  for (int i = 0; i < points; ++i) {
    fall_and_slow(i);
    for (int k = 0; k < pushes[i].count; ++k)
      motion_add(pushes[i].direction[k], pushes[i].length[k]);
  }
  // The directions of all points first, then the steps that wait on them.
  unit_vector along[BLOB_MAX_POINTS + 1];
  for (int i = 0; i < points; ++i) along[i] = rim_unit_[i].of(rim_direction[i]);
  // Moves ask about points along the rim, marches about points out from
  // the centre: each path remembers its own last block.
  terrain_path moves, marches;
  for (int i = 0; i < points; ++i) move_rim_point(i, along[i], moves);
  march_aim aims[BLOB_MAX_POINTS + 1];
  for (int i = 0; i < points; ++i) aims[i] = back_onto_spoke(i, centre_x, centre_y);
  for (int i = 0; i < points; ++i) march_from_centre(i, centre_x, centre_y, aims[i], marches);
}

// A point closer to the centre than the radius is pushed out along its spoke
// by its distance from its rest position over the stiffness, and pushes the
// centre the other way ten times more gently. A point further out is pulled
// in along its spoke, and pulls the centre after it, the same way. A point inside the circle
// but far round it from its own spoke is also further than the radius from
// its rest position, so both springs fire with equal and opposite impulses.
void obj_wobblet::apply_springs(int i, double centre_x, double centre_y, centre_pushes& pushes) {
  double angle = rest_angle(i);
  unit_vector spoke = unit_of(angle);
  double rest_x = centre_x + spoke.x * radius;  // lengthdir_x(radius, angle)
  double rest_y = centre_y + spoke.y * radius;
  double d = point_distance(centre_x, centre_y, rim_x[i], rim_y[i]);
  if (radius > d) {
    d = point_distance(rim_x[i], rim_y[i], rest_x, rest_y);
    motion_add(i, angle, d / stiffness);
    pushes.add(angle + HALF_TURN, d / (stiffness * CENTRE_SHARE));
  }
  if (d > radius) {
    d = point_distance(rim_x[i], rim_y[i], rest_x, rest_y);
    motion_add(i, angle + HALF_TURN, d / stiffness);
    pushes.add(angle, d / (stiffness * CENTRE_SHARE));
  }
}

// The springs have measured this tick's deformation; the point itself goes
// back onto the circle (slack 0 means one of the two tests always holds),
// and the squash that shows comes only from its own motion and the terrain
// afterwards. Without this reset the ring would drift ever further from its
// spokes.
void obj_wobblet::reset_onto_circle(int i, double centre_x, double centre_y) {
  double d = point_distance(centre_x, centre_y, rim_x[i], rim_y[i]);
  if (d >= radius + radius_slack) place_on_spoke(i, centre_x, centre_y, radius + radius_slack);
  if (d <= radius - radius_slack) place_on_spoke(i, centre_x, centre_y, radius - radius_slack);
}

// The speed cap comes before gravity, so a point can reach 15.5 pixels per
// tick and take at most 16 unit steps.
void obj_wobblet::fall_and_slow(int i) {
  if (rim_speed[i] > MAX_RIM_SPEED) rim_speed[i] = MAX_RIM_SPEED;
  motion_add(i, DOWN, gravity);
  rim_speed[i] = rim_speed[i] - RIM_FRICTION;
  if (rim_speed[i] < 0) rim_speed[i] = 0;
}

// ceil(speed) one-pixel steps; the first step into terrain is refused and
// stops the point dead.
void obj_wobblet::move_rim_point(int i, unit_vector unit, terrain_path& terrain) {
  for (int j = 0; j < rim_speed[i]; ++j) {
    double next_x = unit.x + rim_x[i];
    double next_y = unit.y + rim_y[i];
    if (terrain.collides(to_pixel(next_x), to_pixel(next_y))) {
      rim_speed[i] = 0;
    } else {
      rim_x[i] = next_x;
      rim_y[i] = next_y;
    }
  }
}

namespace {
// Whether the march is known to meet no terrain, so that neither its
// questions nor its unit step need working out.
bool march_known_clear(double centre_x, double centre_y, double to_x, double to_y, double dist) {
  pixel_rectangle pixels;
  return march_bounds(centre_x, centre_y, to_x, to_y, dist, pixels) &&
         known_empty(pixels.left, pixels.top, pixels.right, pixels.bottom);
}
}  // namespace

// The point keeps its distance from the centre but goes back onto its spoke,
// losing any sideways drift, so the ring keeps its order and never tangles.
// Then a march from the centre along the direction the point had before
// that correction, one pixel at a time over ceil(distance) pixels, stops at
// the first pixel in terrain and leaves the point there: the rim then hugs
// the terrain surface, at most a pixel inside it, instead of lying beyond a
// wall the centre cannot see through.
obj_wobblet::march_aim obj_wobblet::back_onto_spoke(int i, double centre_x, double centre_y) {
  double towards = point_direction(centre_x, centre_y, rim_x[i], rim_y[i]);
  double dist = point_distance(centre_x, centre_y, rim_x[i], rim_y[i]);
  bool clear = march_known_clear(centre_x, centre_y, rim_x[i], rim_y[i], dist);
  // A point on the centre has no direction (NaN); it compares unequal, goes
  // onto its spoke at distance 0 (the centre), and the march takes no step,
  // so the NaN is never used.
  if (rest_angle(i) != towards) place_on_spoke(i, centre_x, centre_y, dist);
  if (clear) return {{0, 0}, 0};    // a march that would ask and change nothing
  return {unit_of(towards), dist};  // unit: lengthdir_x(1, towards)
}

void obj_wobblet::march_from_centre(int i, double centre_x, double centre_y, const march_aim& aim,
                                    terrain_path& terrain) {
  const unit_vector unit = aim.unit;
  double mx = centre_x;
  double my = centre_y;
  for (int j = 0; j < aim.dist; ++j) {
    mx = unit.x + mx;
    my = unit.y + my;
    if (terrain.collides(to_pixel(mx), to_pixel(my))) {
      rim_x[i] = mx;
      rim_y[i] = my;
      return;
    }
  }
}
