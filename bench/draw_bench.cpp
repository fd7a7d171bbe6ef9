// Drawing one frame of a 10,000-triangle level in a real window (run under
// Xvfb with Mesa's software renderer): the indexed terrain drawing against
// the walk of the whole list. glFinish makes the time include the
// rasterising, not just the queueing of the calls.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "level/container.h"
#include "shell/game.h"
#include "shell/view.h"

namespace {
bool window_open() {
  static bool open = SDL_Init(SDL_INIT_VIDEO) == 0 && open_game_window();
  if (open) set_fixed_gl_state();
  return open;
}

void frame_bench(benchmark::State& state, void (*draw)(GLuint)) {
  if (!window_open()) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  load_world(ground_level(10000, 5, 2));
  for (int t = 0; t < 120; ++t) step_pass();  // the view settles on the first blob
  for (auto _ : state) {
    begin_frame();
    draw_backdrop();
    draw_pass();
    draw(0);
    glFinish();
  }
  unload_world();
}

void BM_draw_frame(benchmark::State& state) { frame_bench(state, draw_terrain); }
void BM_draw_frame_list_walk(benchmark::State& state) { frame_bench(state, draw_terrain_by_walk); }
}  // namespace

BENCHMARK(BM_draw_frame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_draw_frame_list_walk)->Unit(benchmark::kMicrosecond);
