// A crate platform, 64x32 pixels, moving up and down for ever: 200 ticks up
// at one pixel a tick, 200 down. It is solid through two triangles it adds to
// the terrain list and moves with itself; the terrain drawing skips them and
// the crate draws itself as one textured quad.
#pragma once

#include <GL/gl.h>

#include "shell/object.h"

struct primitive;

constexpr int PLATFORM_WIDTH = 64;         // pixels
constexpr int PLATFORM_HEIGHT = 32;        // pixels
constexpr int PLATFORM_HALF_PERIOD = 200;  // ticks between reversals

class obj_platform : public obj_parent {
 public:
  int timer = 0;    // ticks since the last reversal, 0..199 between ticks
  int speed_y = 0;  // pixels per tick, -1 up or +1 down
  GLuint texture = 0;
  bool texture_opaque = true;  // every texel's alpha is 255
  // The next crate in the list that started at the same place. It moves
  // with this one tick by tick, and is drawn after it over the same pixels:
  // with an opaque picture it paints over all this one would draw.
  const obj_platform* covered_by = nullptr;
  primitive* prim1 = nullptr;  // upper-left triangle of the box
  primitive* prim2 = nullptr;  // lower-right triangle of the box

  void create() override;
  void draw() override;
  void step() override;
  void destroy() override;
  // "P x y timer speed_y".
  void write_state(state_text& out) const override;
};

// Links each crate of the object list to the next one that starts at the
// same place (covered_by), so that a stack of thousands at one spot draws
// as one crate, pixel for pixel. Called once all of a level's objects are
// made.
void link_stacked_crates();
