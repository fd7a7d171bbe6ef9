// Preloaded into the unchanged game by the pacing test: records the moment
// of every buffer swap (one per tick) and writes them, one per line in
// seconds, to the file named by BLOB_SWAP_LOG when the game exits.
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int MAX_SWAPS = 1 << 16;
double swap_times[MAX_SWAPS];
int swaps = 0;

double now_seconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

__attribute__((destructor)) void write_log() {
  const char* path = std::getenv("BLOB_SWAP_LOG");
  if (!path) return;
  FILE* log = std::fopen(path, "w");
  if (!log) return;
  for (int k = 0; k < swaps; ++k) std::fprintf(log, "%.6f\n", swap_times[k]);
  std::fclose(log);
}
}  // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
  using swap_function = void (*)(void);
  static auto real = reinterpret_cast<swap_function>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
  if (swaps < MAX_SWAPS) swap_times[swaps++] = now_seconds();
  real();
}
