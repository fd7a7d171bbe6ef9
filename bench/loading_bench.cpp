// What loading costs at the edges of what a level can hold: the most crates
// a level file places (32,640, each made and appended to the object list),
// and the check of a source's polygon ring, side by side with the plain
// pair-by-pair check it replaced, up to the largest ring a level file holds
// (10,881 points, 10,879 triangles) and beyond.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_world.h"
#include "level_encoder.h"
#include "polygon.h"
#include "support/plain_ring_check.h"

namespace {
// Crates on a grid 100 pixels apart, so that each has cells of its own and
// only the making and listing of objects grows with their number.
std::vector<std::uint8_t> crate_field(int crates) {
  level_data level;
  for (int k = 0; k < crates; ++k)
    level.objects.push_back({0, -12800 + k % 256 * 100, -12800 + k / 256 * 200});
  std::vector<std::uint8_t> bytes = encode_level(level);
  // The encoder writes counts up to 32,639; the triple (0, 128, 0) reads as
  // 32,640, the most a file can count.
  if (crates == 32640) bytes[4] = 0, bytes[5] = 128, bytes[6] = 0;
  return bytes;
}

void BM_load_crates(benchmark::State& state) {
  std::vector<std::uint8_t> bytes = crate_field(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    load_world(bytes);
    state.PauseTiming();
    unload_world();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_load_crates)
    ->Arg(4096)
    ->Arg(8192)
    ->Arg(16384)
    ->Arg(32640)
    ->Unit(benchmark::kMillisecond);

template <std::string (*check)(const std::vector<point2>&)>
void ring_check_bench(benchmark::State& state) {
  std::vector<point2> ring = sawtooth_ring(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(check(ring));
}

void BM_ring_check(benchmark::State& state) { ring_check_bench<ring_problem>(state); }
void BM_ring_check_pair_by_pair(benchmark::State& state) {
  ring_check_bench<plain_ring_problem>(state);
}
BENCHMARK(BM_ring_check)
    ->Arg(10000)
    ->Arg(10881)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ring_check_pair_by_pair)
    ->Arg(10000)
    ->Arg(10881)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The crossing the check looks for hardest: one late in the ring, so the
// first edge that meets an earlier one is found by halving, a sweep a step.
void BM_ring_check_late_crossing(benchmark::State& state) {
  std::vector<point2> ring = sawtooth_ring(static_cast<int>(state.range(0)));
  ring[ring.size() - 10].x = ring[10].x;
  for (auto _ : state) benchmark::DoNotOptimize(ring_problem(ring));
}
BENCHMARK(BM_ring_check_late_crossing)->Arg(10881)->Unit(benchmark::kMillisecond);
}  // namespace
