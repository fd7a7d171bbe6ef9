// Text dump of the simulation after a tick, one object per line, for diffing
// runs against each other, and its hash, which replays keep as checkpoints.
// Floating values use %.17g, which gives back the exact double (float fields
// are widened first), so two dumps are equal exactly when the states are.
// blobrun prints the dump; the game and blobrun hash it.
#pragma once

#include <cstdint>
#include <cstdio>

// Writes "tick N view X Y", then one line per platform ("P x y timer
// speed_y") and per blob ("B x y speed direction control_index move_left
// move_right" followed by the 21 slots of rim_x, rim_y, rim_speed and
// rim_direction), in list order. The level object writes nothing.
void dump_state(std::FILE* out, long tick);

// 64-bit FNV-1a of exactly the text dump_state writes for this tick. Made
// without allocating or writing anything, so the game can take it while
// it runs.
std::uint64_t state_hash(long tick);
