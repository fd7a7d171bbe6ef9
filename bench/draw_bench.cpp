// Drawing one frame in a real window (run under Xvfb with Mesa's software
// renderer): a 10,000-triangle level, the indexed terrain drawing against
// the walk of the whole list; and the hostile levels, whose thousands of
// huge triangles all cover the window, drawn as the game draws them and by
// drawing everything. glFinish makes the time include the rasterising, not
// just the queueing of the calls. CPU is the game thread's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_world.h"
#include "level/container.h"
#include "level/platform.h"
#include "level_encoder.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/texture.h"
#include "shell/view.h"
#include "synthetic_level.h"
#include "terrain_reference.h"

namespace {
struct terrain_picture {
  GLuint texture = 0;
  bool opaque = false;
};

// The window, and the game's terrain picture in it, made once.
const terrain_picture* window_open() {
  static terrain_picture picture;
  static bool open = SDL_Init(SDL_INIT_VIDEO) == 0 && open_game_window();
  if (!open) return nullptr;
  set_fixed_gl_state();
  if (picture.texture == 0)
    picture.texture = loadTexture(".\\images\\tex_snow.png", &picture.opaque);
  return &picture;
}

template <typename Draw>
void frame_bench(benchmark::State& state, const std::vector<std::uint8_t>& level, Draw draw,
                 bool leave_out_hidden_crates = true) {
  const terrain_picture* picture = window_open();
  if (!picture) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  load_world(level);
  if (!leave_out_hidden_crates)
    for (obj_parent* o = start_obj; o; o = o->next)
      if (auto* crate = dynamic_cast<obj_platform*>(o)) crate->covered_by = nullptr;
  for (int t = 0; t < 120; ++t) step_pass();  // the view settles on the first blob
  for (auto _ : state) {
    begin_frame();
    draw_backdrop();
    draw_pass();
    draw(*picture);
    glFinish();
  }
  unload_world();
}

void draw_as_the_game(const terrain_picture& p) { draw_terrain(p.texture, p.opaque); }
void draw_everything(const terrain_picture& p) { draw_terrain(p.texture); }
void draw_by_walk(const terrain_picture& p) { draw_terrain_by_walk(p.texture); }

void BM_draw_frame(benchmark::State& state) {
  frame_bench(state, ground_level(10000, 5, 2), draw_as_the_game);
}
void BM_draw_frame_list_walk(benchmark::State& state) {
  frame_bench(state, ground_level(10000, 5, 2), draw_by_walk);
}

// 10,879 copies of one triangle over the whole range, and 10 MB of random
// bytes (seeds 9 and 26: 9,583 and 7,230 triangles, most of them huge).
std::vector<std::uint8_t> hostile_level(int which) {
  if (which == 0) return encode_level(huge_triangles(10879));
  return random_level_bytes(10 * 1024 * 1024, static_cast<std::uint64_t>(which));
}
void BM_draw_hostile_frame(benchmark::State& state) {
  frame_bench(state, hostile_level(static_cast<int>(state.range(0))), draw_as_the_game);
}
void BM_draw_hostile_frame_everything(benchmark::State& state) {
  frame_bench(state, hostile_level(static_cast<int>(state.range(0))), draw_everything);
}

// N crates at one place on a ground of 300 triangles, under its blob: drawn
// as the game draws them (the last of the stack only), and every crate.
std::vector<std::uint8_t> stacked_crates_level(int crates) {
  level_data level = synthetic_level({300, 1, 0});
  level_object blob = level.objects.front();
  for (int k = 0; k < crates; ++k)
    level.objects.push_back({TYPE_PLATFORM, blob.x - 32, blob.y + 21});
  level.object_count = static_cast<int>(level.objects.size());
  return encode_level(level);
}
void BM_draw_stacked_crates(benchmark::State& state) {
  frame_bench(state, stacked_crates_level(static_cast<int>(state.range(0))), draw_as_the_game);
}
void BM_draw_stacked_crates_everything(benchmark::State& state) {
  frame_bench(state, stacked_crates_level(static_cast<int>(state.range(0))), draw_as_the_game,
              false);
}
}  // namespace

BENCHMARK(BM_draw_frame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_draw_frame_list_walk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_draw_hostile_frame)
    ->ArgName("seed")
    ->Arg(0)
    ->Arg(9)
    ->Arg(26)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_draw_hostile_frame_everything)
    ->ArgName("seed")
    ->Arg(0)
    ->Arg(9)
    ->Arg(26)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_draw_stacked_crates)
    ->ArgName("crates")
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(32639)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_draw_stacked_crates_everything)
    ->ArgName("crates")
    ->Arg(2000)
    ->Arg(8000)
    ->Arg(32639)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
