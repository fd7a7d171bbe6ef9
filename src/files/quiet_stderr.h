// Keeps the messages that a library prints on its own (the PNG decoder's
// warnings and errors, the sound libraries' probing for a device) off the
// terminal while it works; the caller reports the outcome in one line of its
// own afterwards. Header-only but for the device's name, which the audio
// library holds, so that the player tool, which uses it without the rest of
// the game, needs nothing more to link.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "files/null_device.h"

// Points standard error at the null device while it lives.
class quiet_stderr {
 public:
  quiet_stderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    int null_fd = open(NULL_DEVICE, O_WRONLY);
    if (null_fd >= 0) {
      dup2(null_fd, STDERR_FILENO);
      close(null_fd);
    }
  }
  ~quiet_stderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  quiet_stderr(const quiet_stderr&) = delete;
  quiet_stderr& operator=(const quiet_stderr&) = delete;

 private:
  int saved_ = -1;  // the real standard error, put back at the end
};
