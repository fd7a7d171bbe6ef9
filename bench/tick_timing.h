// The CPU time of each step pass of a level's first ticks, for levels where
// a single tick may be slow: random bytes, piles of huge triangles, crates
// stacked at one place.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

// The step passes of the world loaded now, one by one: the first, the
// slowest and which tick it was, in milliseconds of this thread's CPU.
struct tick_times {
  double first = 0, slowest = 0;
  int slowest_tick = 0;
};
tick_times time_step_passes(int ticks);

// Puts the times and the blob count on the benchmark's counters, then
// unloads the world.
void report_tick_times(benchmark::State& state, const tick_times& times, int ticks);

// Loads the world with `load` and times its first `ticks` step passes one by
// one, for every iteration.
template <typename Load>
void time_first_ticks_of(benchmark::State& state, Load load, int ticks) {
  tick_times times;
  for (auto _ : state) {
    state.PauseTiming();
    load();
    state.ResumeTiming();
    times = time_step_passes(ticks);
  }
  report_tick_times(state, times, ticks);
}

// The same for a level given by its file bytes.
void time_first_ticks(benchmark::State& state, const std::vector<std::uint8_t>& bytes, int ticks);
