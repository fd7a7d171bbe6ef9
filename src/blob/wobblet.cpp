// The blob's record: creation, styles, clean-up and the impulse arithmetic
// that every other part of the blob goes through.
#include "blob/wobblet.h"

#include <cassert>

#include "blob/tuning.h"
#include "shell/angles.h"
#include "shell/texture.h"

using namespace blob_tuning;

namespace {
struct blob_style {
  int fill_r, fill_g, fill_b;
  int line_r, line_g, line_b;
  double gravity;
  int stiffness;
};

// Style 3 is drawn as an outline only; its fill colour is never shown.
constexpr blob_style STYLES[STYLE_COUNT] = {
    {128, 200, 255, 42, 165, 255, GRAVITY, STIFFNESS},              // light blue
    {200, 0, 0, 128, 0, 0, GRAVITY, STIFFNESS},                     // red
    {96, 96, 96, 64, 64, 64, HEAVY_GRAVITY, STIFFNESS},             // grey, heavy
    {255, 255, 255, 128, 128, 128, LIGHT_GRAVITY, SOFT_STIFFNESS},  // white, light and soft
    {200, 200, 0, 128, 128, 0, GRAVITY, STIFFNESS},                 // yellow
};

// Adds the polar impulse (length, add_direction) to the polar velocity
// (speed, direction) through Cartesian form. An exactly zero sum has no
// direction (point_direction would give NaN, and a NaN direction turns every
// later position into NaN), so the old direction is kept with speed 0.
void add_polar(double& speed, double& direction, direction_memo& unit, double add_direction,
               double length) {
  const unit_vector& along = unit.of(direction);
  unit_vector added = unit_of(add_direction);
  double vx = along.x * speed;  // lengthdir_x(speed, direction)
  double vy = along.y * speed;
  vx = added.x * length + vx;
  vy = added.y * length + vy;
  speed = point_distance(0, 0, vx, vy);
  if (vx == 0 && vy == 0) return;
  direction = point_direction(0, 0, vx, vy);
}
}  // namespace

void obj_wobblet::setStyle(int control, int new_style) {
  control_index = control;
  style = new_style;
}

// The rim starts collapsed on the centre; the first step's springs push every
// point out onto the circle.
void obj_wobblet::create() {
  move_left = false;
  move_right = false;
  point_count = RIM_POINTS;
  radius = RADIUS;
  stiffness = STIFFNESS;
  radius_slack = RADIUS_SLACK;
  gravity = GRAVITY;
  direction = DOWN;
  assert(point_count <= BLOB_MAX_POINTS && "the rim arrays hold 20 points and the wrap slot");
  collapse_rim_onto_centre();
  tex_eyes = loadTexture(".\\images\\eyes_anx.png");
  tex_mouth = loadTexture(".\\images\\mouth.png");
  speed = 0;
  // If the first step ends inside terrain, the centre is walked out from
  // here.
  prev_x = x;
  prev_y = y;
  apply_style_table();
}

void obj_wobblet::apply_style_table() {
  if (style < 0 || style >= STYLE_COUNT) return;
  const blob_style& s = STYLES[style];
  fill_r = s.fill_r;
  fill_g = s.fill_g;
  fill_b = s.fill_b;
  line_r = s.line_r;
  line_g = s.line_g;
  line_b = s.line_b;
  gravity = s.gravity;
  stiffness = s.stiffness;
}

// Every slot, the wrap slot included, takes the centre and loses its motion.
void obj_wobblet::collapse_rim_onto_centre() {
  for (int k = 0; k <= point_count; ++k) {
    rim_x[k] = x;
    rim_y[k] = y;
    rim_speed[k] = 0;
    rim_direction[k] = 0;
  }
}

// Name 0 means no picture was loaded: there is nothing to delete, and a
// program without a GL context (the headless runner) makes no GL call.
void obj_wobblet::destroy() {
  if (tex_eyes) glDeleteTextures(1, &tex_eyes);
  if (tex_mouth) glDeleteTextures(1, &tex_mouth);
}

void obj_wobblet::motion_add(double add_direction, double length) {
  add_polar(speed, direction, centre_unit_, add_direction, length);
}

void obj_wobblet::motion_add(int index, double add_direction, double length) {
  assert(index >= 0 && index < point_count && "rim impulses go to points 0..point_count-1");
  add_polar(rim_speed[index], rim_direction[index], rim_unit_[index], add_direction, length);
}
