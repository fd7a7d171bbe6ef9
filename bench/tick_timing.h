// The CPU time of each step pass of a level's first ticks, for levels where
// a single tick may be slow: random bytes, piles of huge triangles.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

// Loads the level from its file bytes and times its first `ticks` step
// passes one by one. The counters give the first tick, the slowest and the
// tick it was, and the blob count, in milliseconds of this thread's CPU.
void time_first_ticks(benchmark::State& state, const std::vector<std::uint8_t>& bytes, int ticks);
