#include "blob/wobblet.h"

// Placeholder until the blob lands.
void obj_wobblet::create() {}
void obj_wobblet::destroy() {}
void obj_wobblet::setStyle(int control, int new_style) {
  control_index = control;
  style = new_style;
}
void obj_wobblet::motion_add(double, double) {}
void obj_wobblet::motion_add(int, double, double) {}
