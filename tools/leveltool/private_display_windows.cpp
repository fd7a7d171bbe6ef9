// Windows' side of private_display.h: there is always a desktop, and SDL's
// own video driver opens the OpenGL window on it.
#include "private_display.h"

bool private_display::prepare(std::string&) { return true; }

std::string private_display::name() { return "the desktop"; }

const char* private_display::where_drawn() {
  return "It opens a window on the desktop for a moment.";
}

bool private_display::start(std::string&) { return true; }

private_display::~private_display() = default;
