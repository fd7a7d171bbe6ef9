// The terrain on its own: the point test against the plain list walk, the
// loading of the largest level a file holds, and the ticks of levels made of
// random bytes, where hundreds of blobs start inside thousands of huge
// overlapping triangles.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_world.h"
#include "level/container.h"
#include "level/terrain.h"
#include "shell/game.h"
#include "shell/object.h"
#include "synthetic_level.h"

namespace {
// Points over the synthetic ground's area and the air above it, from a
// fixed sequence, so that every run asks the same questions.
std::vector<std::pair<int, int>> ground_points(int triangles) {
  int width = std::min((triangles + 1) / 2, 1600) * 40;
  int strips = ((triangles + 1) / 2 + 1599) / 1600;
  std::vector<std::pair<int, int>> points;
  std::uint32_t state = 12345;
  auto next = [&state](int range) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
  };
  for (int k = 0; k < 4096; ++k)
    points.emplace_back(-width / 2 + next(width), -20100 + next(strips * 700 + 100));
  return points;
}

template <bool (*point_test)(int, int)>
void point_test_bench(benchmark::State& state) {
  int triangles = static_cast<int>(state.range(0));
  load_world(ground_level(triangles, 0));
  auto points = ground_points(triangles);
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& p = points[k++ % points.size()];
    benchmark::DoNotOptimize(point_test(p.first, p.second));
  }
  unload_world();
}

void BM_point_test(benchmark::State& state) { point_test_bench<collideAll>(state); }
void BM_point_test_list_walk(benchmark::State& state) { point_test_bench<collideAllScan>(state); }

// The whole of the game's loading of a level file: reading it, decoding
// it, filing every triangle and making the objects.
void BM_load_largest_level(benchmark::State& state) {
  std::string path = "bench_largest_level.map";
  std::vector<std::uint8_t> bytes = ground_level(10879, 5, 2);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    state.SkipWithError("cannot write the level file in the working folder");
    if (file) std::fclose(file);
    return;
  }
  std::fclose(file);
  for (auto _ : state) {
    obj_container loader;
    loader.loadLevel(path.c_str());
    state.PauseTiming();
    unload_world();
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  state.SetLabel("10,879 triangles, 5 blobs, 2 crates");
}

// CPU time of this thread: on a machine shared with other work, what the
// step itself costs, not how long it waited for a core.
double thread_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The step pass of the first ticks of a level, one tick at a time; the
// counters give the CPU time of the first tick and of the slowest.
void time_first_ticks(benchmark::State& state, const std::vector<std::uint8_t>& bytes) {
  double first = 0, slowest = 0;
  constexpr int TICKS = 30;
  for (auto _ : state) {
    state.PauseTiming();
    load_world(bytes);
    state.ResumeTiming();
    for (int t = 0; t < TICKS; ++t) {
      double start = thread_cpu_ms();
      step_pass();
      double took = thread_cpu_ms() - start;
      if (t == 0) first = took;
      slowest = std::max(slowest, took);
    }
  }
  state.counters["first_tick_ms"] = first;
  state.counters["slowest_tick_ms"] = slowest;
  state.counters["blobs"] = blob_count();
  unload_world();
  state.SetLabel(std::to_string(TICKS) + " ticks per iteration");
}

// 10 MB of random bytes: hundreds of blobs start inside thousands of huge
// overlapping triangles.
void BM_random_level_ticks(benchmark::State& state) {
  time_first_ticks(
      state, random_level_bytes(10 * 1024 * 1024, static_cast<std::uint64_t>(state.range(0))));
}

// 10,879 copies of one triangle over the whole range, five blobs falling
// onto its long edge.
void BM_huge_pile_ticks(benchmark::State& state) {
  time_first_ticks(state, encode_level(huge_triangles(10879)));
}
}  // namespace

BENCHMARK(BM_point_test)->ArgName("triangles")->Arg(300)->Arg(1000)->Arg(10000);
BENCHMARK(BM_point_test_list_walk)->ArgName("triangles")->Arg(300)->Arg(1000)->Arg(10000);
BENCHMARK(BM_load_largest_level)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_random_level_ticks)
    ->ArgName("seed")
    ->Arg(9)
    ->Arg(26)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_huge_pile_ticks)->Unit(benchmark::kMillisecond)->Iterations(1);
