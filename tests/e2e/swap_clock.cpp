// Preloaded into the unchanged game by the pacing tests: records the moment
// of every buffer swap (one per tick) and writes them, one per line in
// seconds, to the file named by BLOB_SWAP_LOG when the game exits.
//
// With BLOB_SWAP_CLOCK=steps set it also stands in for the game's clock:
// SDL_GetTicks reads a clock that moves only when the game's main thread
// sleeps, by exactly the milliseconds asked for (the game still sleeps
// them; SDL's own threads sleep too, but leave the clock alone), and the
// log records that clock. A line "sleep MS" is logged for every such sleep,
// so the log is the whole story of the loop whatever the machine's load.
#include <dlfcn.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int MAX_ENTRIES = 1 << 17;
struct entry {
  double at;            // seconds
  std::uint32_t sleep;  // ms slept, or 0 for a swap
};
entry entries[MAX_ENTRIES];
int logged = 0;
std::uint32_t stepped_ms = 0;  // the stand-in clock

bool clock_stepped() {
  static const bool stepped = [] {
    const char* mode = std::getenv("BLOB_SWAP_CLOCK");
    return mode && std::strcmp(mode, "steps") == 0;
  }();
  return stepped;
}

double now_seconds() {
  if (clock_stepped()) return stepped_ms / 1000.0;
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void log_entry(std::uint32_t sleep) {
  if (logged < MAX_ENTRIES) entries[logged++] = {now_seconds(), sleep};
}

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

__attribute__((destructor)) void write_log() {
  const char* path = std::getenv("BLOB_SWAP_LOG");
  if (!path) return;
  FILE* log = std::fopen(path, "w");
  if (!log) return;
  for (int k = 0; k < logged; ++k) {
    if (entries[k].sleep)
      std::fprintf(log, "sleep %u\n", entries[k].sleep);
    else
      std::fprintf(log, "%.6f\n", entries[k].at);
  }
  std::fclose(log);
}
}  // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
  static auto swap = real<void (*)(void)>("SDL_GL_SwapBuffers");
  log_entry(0);
  swap();
}

extern "C" std::uint32_t SDL_GetTicks(void) {
  static auto ticks = real<std::uint32_t (*)(void)>("SDL_GetTicks");
  return clock_stepped() ? stepped_ms : ticks();
}

extern "C" void SDL_Delay(std::uint32_t ms) {
  static auto delay = real<void (*)(std::uint32_t)>("SDL_Delay");
  delay(ms);
  bool main_thread = syscall(SYS_gettid) == getpid();
  if (!clock_stepped() || !main_thread) return;
  stepped_ms += ms;
  log_entry(ms);
}
