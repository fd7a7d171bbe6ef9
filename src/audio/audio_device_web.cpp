// The browser's side of audio_device.h. Emscripten's OpenAL has no ALUT, so
// the default device and a context on it are opened through ALC directly.
// The browser prints nothing while probing, so there is nothing to hold back.
#include <AL/alc.h>

#include "audio/audio_device.h"

namespace {
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
}  // namespace

bool open_audio_device(int*, char**, std::string& reason) {
  device = alcOpenDevice(nullptr);
  if (!device) {
    reason = "the browser offers no audio output";
    return false;
  }
  context = alcCreateContext(device, nullptr);
  if (!context || !alcMakeContextCurrent(context)) {
    reason = "the browser's audio output refused a context";
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
    return false;
  }
  return true;
}

void close_audio_device() {
  alcMakeContextCurrent(nullptr);
  if (context) alcDestroyContext(context);
  if (device) alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
}
