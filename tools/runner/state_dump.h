// Text dump of the simulation after a tick, one object per line, for diffing
// runs against each other. Floating values use %.17g, which gives back the
// exact double (float fields are widened first), so two dumps are equal
// exactly when the states are.
#pragma once

#include <cstdio>

// Writes "tick N view X Y", then one line per platform ("P x y timer
// speed_y") and per blob ("B x y speed direction control_index move_left
// move_right" followed by the 21 slots of rim_x, rim_y, rim_speed and
// rim_direction), in list order. The level object writes nothing.
void dump_state(std::FILE* out, long tick);
