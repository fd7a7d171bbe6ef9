#include "audio/audio_device.h"

#include <AL/alut.h>

#include "files/quiet_stderr.h"

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
