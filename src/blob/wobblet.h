// The deformable blob: a centre (the object's x, y) and a ring of rim points
// held around it by springs. The rim points fall, hit the terrain, squash and
// spring back; the centre follows them. The blob whose control_index is 0 is
// steered by the arrow keys and followed by the view.
//
// The centre is float (the object's own x, y); everything about the rim is
// double. Whenever the centre takes part in arithmetic it is widened to
// double first, and only a result stored back into x or y is rounded to
// float, so every machine computes the same bits.
#pragma once

#include <GL/gl.h>

#include "level/index/blob_questions.h"
#include "shell/angles.h"
#include "shell/object.h"

constexpr int BLOB_MAX_POINTS = 20;

class obj_wobblet : public obj_parent {
 public:
  int point_count = 0;      // rim points in use, 20
  int stiffness = 0;        // divisor of spring impulses: larger is softer
  double radius = 0;        // rest distance of the rim, pixels
  double radius_slack = 0;  // tolerance around radius, pixels
  double gravity = 0;       // downward impulse per tick on each rim point
  double speed = 0;         // centre speed, pixels per tick
  double direction = 0;     // centre direction, degrees
  // Rim point i in slot i; slot point_count repeats slot 0 so that pairs
  // (i, i + 1) close the ring without a modulo.
  double rim_x[BLOB_MAX_POINTS + 1] = {};
  double rim_y[BLOB_MAX_POINTS + 1] = {};
  double rim_speed[BLOB_MAX_POINTS + 1] = {};      // pixels per tick
  double rim_direction[BLOB_MAX_POINTS + 1] = {};  // degrees
  bool move_left = false;
  bool move_right = false;
  GLuint tex_eyes = 0;
  GLuint tex_mouth = 0;
  double prev_x = 0;  // centre at the end of the previous step
  double prev_y = 0;
  int fill_r = 0, fill_g = 0, fill_b = 0;
  int line_r = 0, line_g = 0, line_b = 0;
  int control_index = 0;  // 0: steered, followed by the view, drawn bright
  int style = 0;          // row of the style table, 0..4

  void create() override;
  void draw() override;
  void step() override;
  void destroy() override;
  void keydown(SDL_Event event) override;
  void keyup(SDL_Event event) override;
  // "B x y speed direction control_index move_left move_right", then the 21
  // slots of rim_x, rim_y, rim_speed and rim_direction.
  void write_state(state_text& out) const override;

  // Stores the control index and the style; called before create().
  void setStyle(int control, int new_style);

  // Adds an impulse (direction in degrees, length in pixels per tick) to the
  // centre's velocity, or to rim point index's. When the sum is exactly zero
  // the velocity keeps its direction with speed 0.
  void motion_add(double add_direction, double length);
  void motion_add(int index, double add_direction, double length);

 private:
  // The phases of step(), in the order step() runs them.
  void steer();
  void apply_friction();
  void move_centre();
  void recover_from_terrain();
  void update_rim_points();
  void refresh_wrap_slot();
  void ease_view();
  void remember_position();

  // Impulses a point's springs give the centre (direction in degrees,
  // length in pixels per tick), kept until the centre takes them.
  struct centre_pushes {
    double direction[2], length[2];
    int count = 0;
    void add(double to, double by) {
      direction[count] = to;
      length[count] = by;
      ++count;
    }
  };
  // The parts of one rim point's update. `terrain` asks about points along
  // one kind of path through the whole step, during which the terrain does
  // not change.
  void apply_springs(int i, double centre_x, double centre_y, centre_pushes& pushes);
  void reset_onto_circle(int i, double centre_x, double centre_y);
  void fall_and_slow(int i);
  void move_rim_point(int i, unit_vector unit, terrain_path& terrain);
  // The march from the centre towards where the point was before it went
  // back onto its spoke: its unit step and length.
  struct march_aim {
    unit_vector unit;
    double dist;
  };
  march_aim back_onto_spoke(int i, double centre_x, double centre_y);
  void march_from_centre(int i, double centre_x, double centre_y, const march_aim& aim,
                         terrain_path& terrain);

  // Puts rim point i at the given distance from the centre along its spoke.
  void place_on_spoke(int i, double centre_x, double centre_y, double length);
  double rest_angle(int i) const;

  void collapse_rim_onto_centre();
  void jump_if_grounded();
  void apply_style_table();

  // The unit vectors of the centre's and each rim point's direction, as
  // last asked: a point's move in one tick and its first impulse in the
  // next ask about the same direction.
  direction_memo centre_unit_;
  direction_memo rim_unit_[BLOB_MAX_POINTS];
};
