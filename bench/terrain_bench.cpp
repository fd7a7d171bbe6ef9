// The terrain on its own: the point test against the plain list walk, the
// loading of the largest level a file holds, and the ticks of levels made of
// random bytes, where hundreds of blobs start inside thousands of huge
// overlapping triangles.
#include <benchmark/benchmark.h>

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
#include "terrain_reference.h"
#include "tick_timing.h"

namespace {
// Ticks timed one by one: the blobs of a random file leave the terrain
// they start in and fall for a while, and the slowest tick may come late.
constexpr int RANDOM_TICKS = 120;
constexpr int PILE_TICKS = 30;

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

// 10 MB of random bytes: hundreds of blobs start inside thousands of huge
// overlapping triangles.
void BM_random_level_ticks(benchmark::State& state) {
  time_first_ticks(
      state, random_level_bytes(10 * 1024 * 1024, static_cast<std::uint64_t>(state.range(0))),
      RANDOM_TICKS);
}

// 10,879 copies of one triangle over the whole range, five blobs falling
// onto its long edge.
void BM_huge_pile_ticks(benchmark::State& state) {
  time_first_ticks(state, encode_level(huge_triangles(10879)), PILE_TICKS);
}
}  // namespace

BENCHMARK(BM_point_test)->ArgName("triangles")->Arg(300)->Arg(1000)->Arg(10000);
BENCHMARK(BM_point_test_list_walk)->ArgName("triangles")->Arg(300)->Arg(1000)->Arg(10000);
BENCHMARK(BM_load_largest_level)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_random_level_ticks)
    ->ArgName("seed")
    ->Arg(9)
    ->Arg(26)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_huge_pile_ticks)->Unit(benchmark::kMillisecond)->Iterations(1);
