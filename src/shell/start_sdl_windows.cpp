// Windows' side of start_sdl.h. SDL picks its own Windows video driver,
// which has OpenGL; the game leaves it alone. Windows has no sigaction:
// the C library's signal() saves and restores the handlers SDL replaces.
#include <SDL.h>

#include <csignal>

#include "shell/start_sdl.h"

namespace {
using handler = void (*)(int);

// The handler `signal_number` has now, left in place.
handler current_handler(int signal_number) {
  handler now = std::signal(signal_number, SIG_DFL);
  std::signal(signal_number, now);
  return now;
}
}  // namespace

// SDL turns Ctrl-C (SIGINT) and SIGTERM into a quit event, which the game
// ignores like the window's close button; they get back what they had.
bool start_sdl() {
  handler interrupt = current_handler(SIGINT);
  handler terminate = current_handler(SIGTERM);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return false;
  std::signal(SIGINT, interrupt);
  std::signal(SIGTERM, terminate);
  return true;
}

const char* display_advice() { return ""; }
