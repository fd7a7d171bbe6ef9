#include "audio/audio_device.h"

#include <AL/alut.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {
// Points standard error at /dev/null while it lives.
class quiet_stderr {
 public:
  quiet_stderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) {
      dup2(null_fd, STDERR_FILENO);
      close(null_fd);
    }
  }
  ~quiet_stderr() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  quiet_stderr(const quiet_stderr&) = delete;
  quiet_stderr& operator=(const quiet_stderr&) = delete;

 private:
  int saved_ = -1;
};
}  // namespace

bool open_audio_device(int* argc, char** argv, std::string& reason) {
  bool opened;
  ALenum error;
  {
    quiet_stderr quiet;
    opened = alutInit(argc, argv) == AL_TRUE;
    error = alutGetError();
  }
  if (!opened) reason = alutGetErrorString(error);
  return opened;
}

void close_audio_device() { alutExit(); }
