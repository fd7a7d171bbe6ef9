// One tick's step pass over a level with five blobs (one of each style), a
// platform and a little terrain: the same scene the determinism test runs.
// Only the step is timed; drawing needs a window and is GL's cost, not ours.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>

#include "level/container.h"
#include "level/terrain.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"

namespace {
void load_scene() {
  set_level_file(BLOB_SCENE_DIR "/five_blobs.map");
  instance_create(0, 0, TYPE_CONTAINER);
  view_x = -WINDOW_WIDTH / 2;
  view_y = -WINDOW_HEIGHT / 2;
}

void unload_scene() {
  destroy_all_instances();
  freeCollisions();
}

SDL_Event key(SDLKey sym, bool down) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = sym;
  return e;
}

// Blobs settled on the ground, the controlled one walking right: the usual
// state of play.
void BM_step_pass_five_blobs(benchmark::State& state) {
  load_scene();
  for (int t = 0; t < 120; ++t) step_pass();
  dispatch_event(key(SDLK_RIGHT, true));
  for (auto _ : state) step_pass();
  unload_scene();
}

// Right after loading, while every blob is falling and landing.
void BM_step_pass_landing(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    load_scene();
    state.ResumeTiming();
    for (int t = 0; t < 60; ++t) step_pass();
    state.PauseTiming();
    unload_scene();
    state.ResumeTiming();
  }
  state.SetLabel("60 ticks per iteration");
}
}  // namespace

BENCHMARK(BM_step_pass_five_blobs);
BENCHMARK(BM_step_pass_landing)->Unit(benchmark::kMicrosecond);
