// Reading a level source as it grows: level_from_source (checking the
// nesting, parsing, reading every item) on sources of N three-point terrain
// items, beside nlohmann's parse alone on the same text, the floor any
// reader stands on. Both should grow in step with N.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "level_source.h"

namespace {
// N terrain items of one small triangle each, about 60 bytes an item: the
// sizes a designer's or a generator's source reaches (400,000 items are
// 27 MB). More than 10,880 triangles are refused after reading, as build does.
std::vector<std::uint8_t> source_of_items(int items) {
  std::string text = "{\"terrain\": [\n";
  for (int k = 0; k < items; ++k) {
    int x = k % 30000;
    text += (k ? ",\n" : "") + std::string("{\"points\": [[") + std::to_string(x) + ", 0], [" +
            std::to_string(x + 10) + ", 0], [" + std::to_string(x) +
            ", 10]], \"color\": \"#ffffff\"}";
  }
  text += "\n], \"objects\": [{\"type\": \"blob\", \"style\": 1, \"x\": 0, \"y\": -100}]}\n";
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

void BM_source_items(benchmark::State& state) {
  std::vector<std::uint8_t> bytes = source_of_items(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    problem_list problems("items.json");
    level_data level;
    benchmark::DoNotOptimize(level_from_source(bytes, level, problems));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_source_items_parse_only(benchmark::State& state) {
  std::vector<std::uint8_t> bytes = source_of_items(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(bytes.begin(), bytes.end()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(BM_source_items)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_source_items_parse_only)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);
}  // namespace
