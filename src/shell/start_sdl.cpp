#include "shell/start_sdl.h"

#include <SDL.h>
#include <signal.h>

#include <cstdlib>

// The game takes only video, events and the timer from SDL; sound goes
// through OpenAL. Starting SDL's own audio as well would fail, or fill
// standard error with sound-library complaints, on a machine without a
// sound card. The OpenGL window needs the X11 driver: SDL's text-terminal
// fallbacks have no OpenGL and would only scribble on the terminal.
//
// SDL turns SIGINT and SIGTERM into a quit event, which the game ignores
// like the window's close button. They get back exactly what they had before
// SDL started, so Ctrl-C in a terminal, or kill, ends the game as usual, and
// a game started with them ignored (`trap '' INT TERM; blobdemo &`) keeps
// them ignored.
bool start_sdl() {
  setenv("SDL_VIDEODRIVER", "x11", 0);
  struct sigaction interrupt, terminate;
  sigaction(SIGINT, nullptr, &interrupt);
  sigaction(SIGTERM, nullptr, &terminate);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) return false;
  sigaction(SIGINT, &interrupt, nullptr);
  sigaction(SIGTERM, &terminate, nullptr);
  return true;
}

// The command works for the installed game as for one on the PATH, picks a
// free display (-a: xvfb-run's own :99 may be taken), and gives the screen
// the colour depth an OpenGL window needs (xvfb-run's default has 8 bits).
const char* display_advice() {
  const char* display = std::getenv("DISPLAY");
  return display && *display ? ""
                             : " (DISPLAY is not set: run the game on a desktop, or on a virtual "
                               "screen with: xvfb-run -a -s '-noreset -screen 0 1024x768x24' "
                               "blobdemo [LEVEL])";
}
