#include "level_play.h"

#include <gtest/gtest.h>

#include <cstring>

#include "level/container.h"
#include "level/terrain.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"

level_play::level_play(const level_data& level) {
  std::vector<std::uint8_t> bytes = encode_level(level);
  make_level(bytes.data(), bytes.size(), "level under test");
  view_x = -WINDOW_WIDTH / 2;
  view_y = -WINDOW_HEIGHT / 2;
}

level_play::~level_play() {
  destroy_all_instances();
  freeCollisions();
}

namespace {
SDL_Event key_event(bool down, SDLKey key) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.keysym.sym = key;
  return event;
}
}  // namespace

void level_play::run_until(long last) {
  while (tick_ < last) {
    ++tick_;
    step_pass();
    auto [first, end] = keys_.equal_range(tick_);
    for (auto it = first; it != end; ++it)
      dispatch_event(key_event(it->second.first, it->second.second));
  }
}

const obj_wobblet& level_play::blob(int type) const {
  for (obj_parent* o = start_obj; o; o = o->next)
    if (o->type == type) return *static_cast<obj_wobblet*>(o);
  ADD_FAILURE() << "the level has no blob of type " << type;
  static obj_wobblet none;
  return none;
}
