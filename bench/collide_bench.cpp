// collideAll against terrains of 100, 1,000 and 10,000 triangles of a fine
// grid: the point test through the terrain index, whose cost should not grow
// with the whole terrain.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "level/terrain.h"

namespace {
constexpr int CELL = 40;  // pixels: each triangle fills half a 40x40 cell
constexpr int COLUMNS = 100;
constexpr int QUERY_COUNT = 1024;

// Triangles laid out row by row, the lower-left half of every cell, so about
// half of the queries below hit something.
void build_terrain(int triangles) {
  freeCollisions();
  for (int k = 0; k < triangles; ++k) {
    int left = (k % COLUMNS) * CELL;
    int top = (k / COLUMNS) * CELL;
    addVertex(left, top, left, top + CELL, left + CELL, top + CELL);
  }
}

// Points spread over the terrain's area by a fixed linear congruential
// sequence, so every run asks the same questions.
std::vector<std::pair<int, int>> queries(int triangles) {
  int width = COLUMNS * CELL;
  int rows = (triangles + COLUMNS - 1) / COLUMNS;
  int height = rows * CELL;
  std::vector<std::pair<int, int>> points;
  std::uint32_t state = 12345;
  for (int k = 0; k < QUERY_COUNT; ++k) {
    state = state * 1664525u + 1013904223u;
    int x = static_cast<int>(state % static_cast<std::uint32_t>(width));
    state = state * 1664525u + 1013904223u;
    int y = static_cast<int>(state % static_cast<std::uint32_t>(height));
    points.emplace_back(x, y);
  }
  return points;
}

void BM_collideAll(benchmark::State& state) {
  int triangles = static_cast<int>(state.range(0));
  build_terrain(triangles);
  auto points = queries(triangles);
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& p = points[k++ % points.size()];
    benchmark::DoNotOptimize(collideAll(p.first, p.second));
  }
  freeCollisions();
  state.SetLabel(std::to_string(triangles) + " triangles");
}

// A point beyond every triangle: the worst case, a walk of the whole list.
void BM_collideAll_miss(benchmark::State& state) {
  build_terrain(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(collideAll(-1000, -1000));
  freeCollisions();
}
}  // namespace

BENCHMARK(BM_collideAll)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_collideAll_miss)->Arg(100)->Arg(1000)->Arg(10000);
