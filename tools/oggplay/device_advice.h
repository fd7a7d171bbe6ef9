// What oggplay tells a player whose machine has no sound device: how to
// ask OpenAL Soft for its silent device or its WAV writer, in the words of
// the system's shell. device_advice.cpp serves Linux,
// device_advice_windows.cpp Windows; the build picks one.
#pragma once

// Starts with "; " so it follows the line that says no device opened.
extern const char* const NO_DEVICE_ADVICE;
