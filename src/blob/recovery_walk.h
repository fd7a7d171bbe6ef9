// The walk of a blob's centre out of terrain, one pixel at a time against
// its direction of motion: each step is x = float(step_x + double(x)), the
// same for y. Deep in a huge triangle that walk can take ten thousand steps
// a tick for each of hundreds of blobs, so where every pixel on the way is
// known to be solid the steps are taken many at once, with the very bits
// one step at a time would give.
#pragma once

struct solid_box;

// Takes the first step from (x, y), then, while the walk stays inside
// `solid` (whose pixels all answer "in terrain", so the walk would go on),
// further steps, `most` steps in all at the very most. Returns how many
// steps it took: at least 1 when `most` is at least 1. |step_x| and
// |step_y| are at most 1: the walk's unit step.
int walk_through_solid(float& x, float& y, double step_x, double step_y, const solid_box& solid,
                       int most);

// One plain step, the reference the walk above must match bit for bit.
inline float walk_one_step(float v, double step) {
  return static_cast<float>(step + static_cast<double>(v));
}
