// A long run of random keys on a walled arena with slopes and two crates,
// five blobs of every style: nothing may turn NaN, fly off, lose its wrap
// slot, or make the step allocate memory.
#include <malloc.h>

#include <cmath>
#include <random>

#include "blob_world.h"
#include "level/terrain.h"
#include "level_builder.h"
#include "shell/object.h"
#include "support/game_dir.h"
#include "support/test_depth.h"

namespace {
using soak = blob_world;

// About three and a half minutes of play, or half a minute in the unit run.
const int TICKS = deep_or(12000, 1800);

// The arena's inside runs from x -600 to 600 and y -400 to 200, with walls
// 100 pixels thick; the blobs start spread along it.
std::vector<std::uint8_t> arena() {
  level_builder b;
  b.box(-700, 200, 700, 300);    // floor
  b.box(-700, -500, 700, -400);  // ceiling
  b.box(-700, -400, -600, 200);  // walls
  b.box(600, -400, 700, 200);
  b.triangle(-600, 200, -400, 200, -600, 50);  // slopes in both corners
  b.triangle(600, 200, 450, 200, 600, 100);
  b.triangle(-100, 200, 0, 170, 100, 200);  // a bump in the middle
  b.object(0, -300, 150);                   // crates rising from the floor
  b.object(0, 250, 120);
  for (int code = 1; code <= 5; ++code) b.object(code, -450 + 200 * code, -100);
  return b.bytes();
}

SDLKey random_key(std::mt19937& rng, bool& down) {
  static const SDLKey keys[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_TAB};
  unsigned pick = rng() % 7;
  down = pick < 5;
  if (down) return keys[pick];
  return pick == 5 ? SDLK_LEFT : SDLK_RIGHT;
}

bool inside_arena(const obj_wobblet& b) {
  return b.x > -600 && b.x < 600 && b.y > -400 && b.y < 200;
}

TEST_F(soak, thousands_of_ticks_of_random_keys_stay_sound_and_allocate_nothing) {
  game_dir dir(false);
  dir.write_file("level.map", arena());
  instance_create(0, 0, TYPE_CONTAINER);
  obj_wobblet* blobs[5];
  int found = 0;
  for (obj_parent* o = start_obj; o; o = o->next)
    if (auto* b = dynamic_cast<obj_wobblet*>(o)) blobs[found++] = b;
  ASSERT_EQ(found, 5);

  std::mt19937 rng(20240611);
  step_all(10);  // let anything lazy in the library settle first
  const std::size_t heap_before = mallinfo2().uordblks;
  long unsound = 0, escaped = 0, first_bad_tick = -1;
  for (int t = 0; t < TICKS; ++t) {
    step_all();
    if (rng() % 5 == 0) {
      bool down = false;
      SDLKey key = random_key(rng, down);
      down ? press(key) : release(key);
    }
    for (obj_wobblet* b : blobs) {
      bool sound = static_cast<bool>(blob_sane(*b));
      if (!sound) ++unsound;
      if (!inside_arena(*b)) ++escaped;
      if ((!sound || !inside_arena(*b)) && first_bad_tick < 0) first_bad_tick = t;
    }
  }
  const std::size_t heap_after = mallinfo2().uordblks;
  EXPECT_EQ(unsound, 0) << "first at tick " << first_bad_tick;
  EXPECT_EQ(escaped, 0) << "first at tick " << first_bad_tick;
  EXPECT_EQ(heap_after, heap_before);
  for (obj_wobblet* b : blobs) EXPECT_TRUE(blob_sane(*b));
}
}  // namespace
