// Plays a level the way the game does, without a window or pictures: each
// tick is the step pass over every object, then that tick's keys handed to
// every object. For checking what a level's design promises (where blob 1
// lands, what the crates can carry a blob to).
#pragma once

#include <SDL.h>

#include <map>
#include <utility>
#include <vector>

#include "blob/wobblet.h"
#include "level/level_file.h"

class level_play {
 public:
  // Makes the level's triangles and objects with the game's loader, and sets
  // the view where the game's first frame has it.
  explicit level_play(const level_data& level);
  ~level_play();  // empties the object and triangle lists
  level_play(const level_play&) = delete;
  level_play& operator=(const level_play&) = delete;

  void press(long tick, SDLKey key) { keys_.emplace(tick, std::make_pair(true, key)); }
  void release(long tick, SDLKey key) { keys_.emplace(tick, std::make_pair(false, key)); }

  // Runs ticks up to and including `last`.
  void run_until(long last);
  long tick() const { return tick_; }

  // The first blob of a type code (1..5); the test fails if there is none.
  const obj_wobblet& blob(int type) const;

 private:
  std::multimap<long, std::pair<bool, SDLKey>> keys_;
  long tick_ = 0;
};
