// Fuzz target for the level loader followed by a few ticks of play: blobs
// that start inside terrain or on top of each other, crates, and key presses
// in any order must keep every tick bounded, in memory and in time.
//
// The input is a level file whose first byte, which the loader does not
// read, says how to play it: its low four bits are the number of key events
// (0..15), taken one byte each from the end of the input (the level is what
// comes before them), and its next two bits the number of ticks less one
// (1..4). A key event byte: bits 0-2 the key, bit 3 set for a key-down, bits
// 4-7 the tick (modulo the tick count) whose event pass hands it out.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "level/container.h"
#include "level/terrain.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"

namespace {
const SDLKey KEYS[8] = {SDLK_LEFT, SDLK_RIGHT,  SDLK_UP,    SDLK_DOWN,
                        SDLK_TAB,  SDLK_ESCAPE, SDLK_SPACE, SDLK_a};

SDL_Event key_event(std::uint8_t code) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = (code & 8) ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.keysym.sym = KEYS[code & 7];
  return event;
}

// Steps every object, then hands out this tick's key events, as the game's
// tick does; false once Escape has been pressed.
bool play_tick(int tick, int ticks, const std::uint8_t* keys, std::size_t key_count) {
  step_pass();
  bool quit = false;
  for (std::size_t k = 0; k < key_count; ++k)
    if ((keys[k] >> 4) % ticks == tick && dispatch_event(key_event(keys[k]))) quit = true;
  return !quit;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t key_count = 0;
  int ticks = 1;
  if (size > 0) {
    key_count = data[0] & 15;
    ticks = 1 + ((data[0] >> 4) & 3);
  }
  if (key_count > size) key_count = size;
  std::size_t level_size = size - key_count;
  make_level(data, level_size, "fuzz.map");
  view_x = -WINDOW_WIDTH / 2;
  view_y = -WINDOW_HEIGHT / 2;
  for (int tick = 0; tick < ticks; ++tick)
    if (!play_tick(tick, ticks, data + level_size, key_count)) break;
  destroy_all_instances();
  freeCollisions();
  return 0;
}
