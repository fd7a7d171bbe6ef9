// The blob's line of the state dump. %.17g gives back the exact double
// (the float centre is widened first), so two lines are equal exactly when
// the states are.
#include "blob/wobblet.h"
#include "shell/state_text.h"

namespace {
void put_slots(state_text& out, const double* slots, int count) {
  for (int k = 0; k < count; ++k) out.format(" %.17g", slots[k]);
}
}  // namespace

void obj_wobblet::write_state(state_text& out) const {
  out.format("B %.17g %.17g %.17g %.17g", static_cast<double>(x), static_cast<double>(y), speed,
             direction);
  out.format(" %d %d %d", control_index, move_left ? 1 : 0, move_right ? 1 : 0);
  const int slots = point_count + 1;
  put_slots(out, rim_x, slots);
  put_slots(out, rim_y, slots);
  put_slots(out, rim_speed, slots);
  put_slots(out, rim_direction, slots);
  out.put("\n", 1);
}
