// What one blob costs per tick as the level grows: the step pass over 1, 100
// and 1,000 blobs resting on rolling ground of 300, 1,000 and 10,000
// triangles. The cost per blob is the time of a step pass over the blob
// count; it should not grow with the level.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "shell/game.h"

namespace {
constexpr int SETTLE_TICKS = 120;  // the blobs land and come to rest

void BM_blob_step(benchmark::State& state) {
  int triangles = static_cast<int>(state.range(0));
  int blobs = static_cast<int>(state.range(1));
  load_world(ground_level(triangles, blobs));
  for (int t = 0; t < SETTLE_TICKS; ++t) step_pass();
  for (auto _ : state) step_pass();
  state.counters["per_blob"] = benchmark::Counter(
      static_cast<double>(blob_count()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  unload_world();
}
}  // namespace

BENCHMARK(BM_blob_step)
    ->ArgNames({"triangles", "blobs"})
    ->ArgsProduct({{300, 1000, 10000}, {1, 100, 1000}})
    ->Unit(benchmark::kMicrosecond);
