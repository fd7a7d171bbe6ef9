// An X server of the tool's own, for drawing a level where there is no
// display (a build machine, a terminal session): Xvfb started on a free
// display number and stopped again when this object goes.
#pragma once

#include <sys/types.h>

#include <string>

class private_display {
 public:
  private_display() = default;
  ~private_display();  // stops the server
  private_display(const private_display&) = delete;
  private_display& operator=(const private_display&) = delete;

  // Starts Xvfb and points DISPLAY at it. False with the reason when Xvfb is
  // missing or does not come up within a few seconds.
  bool start(std::string& why);

 private:
  pid_t pid_ = -1;
};
