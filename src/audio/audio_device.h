// Opening and closing the audio device and its context, for the game and
// the command-line player alike.
#pragma once

#include <string>

// Opens the default audio device with ALUT. The sound libraries print their
// own diagnostics while they probe for a device; those are held back, so a
// machine without a sound card gets the caller's one line, built from
// `reason`. Returns false, with the reason in words, when there is no device.
bool open_audio_device(int* argc, char** argv, std::string& reason);

// Closes what open_audio_device opened.
void close_audio_device();
