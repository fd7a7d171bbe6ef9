// The keyboard: arrows steer, jump and push down the controlled blob, and
// Tab passes control on. Every blob sees every key; only its control_index
// decides whether it acts. SDL key repeat is off, so one press is one
// key-down.
#include "blob/pixel.h"
#include "blob/tuning.h"
#include "blob/wobblet.h"
#include "level/index/blob_questions.h"

using namespace blob_tuning;

// Tab counts every blob's index down, wrapping from 0 to 4: with one blob per
// index, control visits them in creation order. Left and Right flags are
// kept on every blob so that a blob handed control while an arrow is held
// steers at once.
void obj_wobblet::keydown(SDL_Event event) {
  switch (event.key.keysym.sym) {
    case SDLK_TAB:
      control_index = control_index - 1;
      if (control_index < 0) control_index = CONTROL_SLOTS - 1;
      break;
    case SDLK_UP:
      if (control_index == 0) jump_if_grounded();
      break;
    case SDLK_DOWN:
      if (control_index == 0) motion_add(DOWN, PUSH_DOWN);
      break;
    case SDLK_RIGHT:
      move_right = true;
      move_left = false;
      break;
    case SDLK_LEFT:
      move_left = true;
      move_right = false;
      break;
    default:
      break;
  }
}

// Releasing an arrow clears only its own flag: after Left held, Right
// pressed and Right released, neither is set until Left is pressed again.
void obj_wobblet::keyup(SDL_Event event) {
  switch (event.key.keysym.sym) {
    case SDLK_RIGHT:
      move_right = false;
      break;
    case SDLK_LEFT:
      move_left = false;
      break;
    default:
      break;
  }
}

// The blob may jump when the pixel one radius straight below its centre is
// solid, i.e. its bottom touches or sinks into the ground. The jump sets the
// centre off at full speed and collapses the rim onto it; the next step's
// springs throw the rim out again, which reads as a stretch on take-off.
void obj_wobblet::jump_if_grounded() {
  int below = to_pixel(y) + to_pixel(radius);
  if (!terrain_collides(to_pixel(x), below)) return;
  speed = 0;
  motion_add(UP, JUMP_SPEED);
  collapse_rim_onto_centre();
}
