#include "tick_timing.h"

#include <time.h>

#include <algorithm>
#include <string>

#include "bench_world.h"
#include "shell/game.h"

namespace {
// CPU time of this thread: on a machine shared with other work, what the
// step itself costs, not how long it waited for a core.
double thread_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
}  // namespace

tick_times time_step_passes(int ticks) {
  tick_times times;
  for (int t = 0; t < ticks; ++t) {
    double start = thread_cpu_ms();
    step_pass();
    double took = thread_cpu_ms() - start;
    if (t == 0) times.first = took;
    if (took > times.slowest) {
      times.slowest = took;
      times.slowest_tick = t + 1;
    }
  }
  return times;
}

void report_tick_times(benchmark::State& state, const tick_times& times, int ticks) {
  state.counters["first_tick_ms"] = times.first;
  state.counters["slowest_tick_ms"] = times.slowest;
  state.counters["slowest_at"] = times.slowest_tick;
  state.counters["blobs"] = blob_count();
  unload_world();
  state.SetLabel(std::to_string(ticks) + " ticks per iteration");
}

void time_first_ticks(benchmark::State& state, const std::vector<std::uint8_t>& bytes, int ticks) {
  time_first_ticks_of(
      state, [&bytes] { load_world(bytes); }, ticks);
}
