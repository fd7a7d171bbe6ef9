// A display to draw a level on. On Linux, DISPLAY's X server, or where
// there is none (a build machine, a terminal session) an X server of the
// tool's own: Xvfb started on a free display number and stopped again when
// this object goes. On Windows (private_display_windows.cpp) the desktop.
#pragma once

#include <sys/types.h>

#include <string>

class private_display {
 public:
  private_display() = default;
  ~private_display();  // stops the server
  private_display(const private_display&) = delete;
  private_display& operator=(const private_display&) = delete;

  // Makes sure SDL can open its OpenGL window, starting Xvfb when there is
  // no display. False with the reason when Xvfb is missing or does not come
  // up within a few seconds.
  bool prepare(std::string& why);

  // The display drawn on, for messages: "display :1".
  static std::string name();

  // Where render draws, for the usage: a sentence.
  static const char* where_drawn();

 private:
  // Starts Xvfb and points DISPLAY at it.
  bool start(std::string& why);

  pid_t pid_ = -1;
};
