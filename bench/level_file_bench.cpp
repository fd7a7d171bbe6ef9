// The first ticks of level files named at run time, for files the other
// benchmarks do not make themselves (bytes from /dev/urandom, a fuzzer's
// finds, a designer's level):
//   BLOB_BENCH_LEVELS=a.map:b.map [BLOB_BENCH_TICKS=300] blob_bench --benchmark_filter=level_file
// Each file is one benchmark, BM_level_file_ticks/FILE.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "files/file_bytes.h"
#include "tick_timing.h"

namespace {
constexpr int DEFAULT_TICKS = 120;

void time_level_file(benchmark::State& state, const std::string& path, int ticks) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    state.SkipWithError(("cannot read " + path + ": " + reason).c_str());
    for (auto _ : state) {
    }
    return;
  }
  time_first_ticks(state, bytes, ticks);
}

int ticks_asked() {
  const char* text = std::getenv("BLOB_BENCH_TICKS");
  int ticks = text ? std::atoi(text) : DEFAULT_TICKS;
  return ticks > 0 ? ticks : DEFAULT_TICKS;
}

// Registered before main runs, like the BENCHMARK macros.
bool register_level_files() {
  const char* list = std::getenv("BLOB_BENCH_LEVELS");
  if (!list) return false;
  int ticks = ticks_asked();
  std::istringstream paths(list);
  for (std::string path; std::getline(paths, path, ':');) {
    if (path.empty()) continue;
    benchmark::RegisterBenchmark(("BM_level_file_ticks/" + path).c_str(),
                                 [path, ticks](benchmark::State& s) {
                                   time_level_file(s, path, ticks);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  return true;
}
const bool level_files_registered = register_level_files();
}  // namespace
