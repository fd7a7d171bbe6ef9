// SDL's event queue without a window or a display: SDL started once with
// its dummy video driver, so that a test can push key events and run the
// game's event passes as they run in a tick.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

inline void start_sdl_events() {
  static const bool started = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    return SDL_Init(SDL_INIT_VIDEO) == 0;
  }();
  ASSERT_TRUE(started) << SDL_GetError();
  SDL_Event stale;
  while (SDL_PollEvent(&stale)) {
  }
}
