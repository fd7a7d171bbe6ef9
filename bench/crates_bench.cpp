// Crates stacked at one place, all moving every tick: the slowest step pass
// of a whole up-and-down cycle, with no blob, and with a blob riding on top
// of the stack, whose questions all land where every crate is. blob_bench
// asks the terrain index, blob_bench_list_walk the plain list walk: the
// same objects and the same ticks, side by side.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "level/level_file.h"
#include "level_encoder.h"
#include "shell/object.h"
#include "tick_timing.h"

namespace {
constexpr int CYCLE_TICKS = 400;           // a crate rises for 200 ticks and comes back in 200
constexpr int STACK_X = 0, STACK_Y = -32;  // every crate's top-left corner at its lowest

// Flat ground from x -4,000 to 4,000 with its surface at y 0, where the
// stack stands, and a blob resting on the stack's top.
std::vector<std::uint8_t> ground_under_the_stack(bool blob) {
  level_data level;
  level_vertex a{-4000, 0, 90, 70, 40}, b{4000, 0, 90, 70, 40}, c{-4000, 200, 90, 70, 40},
      d{4000, 200, 90, 70, 40};
  level.triangles = {{{a, b, c}}, {{b, d, c}}};
  if (blob) level.objects.push_back({1, STACK_X + 32, STACK_Y - 21});
  level.vertex_count = 6;
  level.object_count = static_cast<int>(level.objects.size());
  return encode_level(level);
}

// Crates are made one by one, as a level file's loader makes them; a file
// holds at most 32,640 objects.
void BM_stacked_crates(benchmark::State& state) {
  int crates = static_cast<int>(state.range(0));
  bool blob = state.range(1) != 0;
  auto load = [&] {
    load_world(ground_under_the_stack(blob));
    for (int k = 0; k < crates; ++k) instance_create(STACK_X, STACK_Y, TYPE_PLATFORM);
  };
  time_first_ticks_of(state, load, CYCLE_TICKS);
}
}  // namespace

BENCHMARK(BM_stacked_crates)
    ->ArgNames({"crates", "blob"})
    ->ArgsProduct({{500, 2000, 8000, 32640}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
