// The name of the system's device that swallows whatever is written to it:
// null_device.cpp serves Linux and the browser, null_device_windows.cpp
// Windows; the build picks one. Part of the audio library, the lowest one,
// so that quiet_stderr.h works wherever it is used.
#pragma once

extern const char* const NULL_DEVICE;
