// Runs the benchmarks, then sets the figures side by side: our blob against
// the physics engine's soft blob at each level size, the growth of our cost
// from 300 to 10,000 triangles, and how many blobs fit in one 17 ms tick.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "world/object_kinds.h"

namespace {
class keeping_reporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a table saved to a file reads plainly.
  keeping_reporter() : ConsoleReporter(isatty(1) ? OO_Defaults : OO_Tabular) {}

  std::map<std::string, double> per_blob;  // seconds of CPU per blob and step, by run name

  void ReportRuns(const std::vector<Run>& runs) override {
    // A single run's figure, or the median of repeated runs.
    for (const Run& run : runs) {
      auto counter = run.counters.find("per_blob");
      bool figure = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
      if (!run.error_occurred && figure && counter != run.counters.end())
        per_blob[run.run_name.str()] = counter->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double find(const std::string& name) const {
    auto it = per_blob.find(name);
    return it == per_blob.end() ? 0 : it->second;
  }
};

std::string ours(int triangles, int blobs) {
  return "BM_blob_step/triangles:" + std::to_string(triangles) + "/blobs:" + std::to_string(blobs);
}

std::string engine(int triangles, int blobs) {
  return "BM_box2d_soft_blob/triangles:" + std::to_string(triangles) +
         "/blobs:" + std::to_string(blobs);
}

void print_comparison(const keeping_reporter& r) {
  if (r.find(ours(300, 1)) == 0) return;
  std::printf("\nper blob and step, CPU time (us):\n");
  std::printf("%10s %10s %10s %10s %12s %14s\n", "triangles", "1 blob", "100 blobs", "1000 blobs",
              "engine blob", "ours/engine");
  for (int triangles : {300, 1000, 10000}) {
    double one = r.find(ours(triangles, 1)), engine_one = r.find(engine(triangles, 1));
    std::printf("%10d %10.2f %10.2f %10.2f %12.2f %14s\n", triangles, one * 1e6,
                r.find(ours(triangles, 100)) * 1e6, r.find(ours(triangles, 1000)) * 1e6,
                engine_one * 1e6,
                engine_one > 0 ? std::to_string(one / engine_one).substr(0, 5).c_str() : "-");
  }
  for (int blobs : {1, 100, 1000})
    std::printf("cost at 10,000 triangles / cost at 300, %d blob(s): %.2f\n", blobs,
                r.find(ours(10000, blobs)) / r.find(ours(300, blobs)));
  double per_blob = r.find(ours(10000, 1000));
  if (per_blob > 0)
    std::printf("blobs stepped in one 17 ms tick at 10,000 triangles: %.0f\n", 0.017 / per_blob);
}
}  // namespace

int main(int argc, char** argv) {
  install_blob_demo_kinds();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  keeping_reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  print_comparison(reporter);
  return 0;
}
