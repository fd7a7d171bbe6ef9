#include "device_advice.h"

const char* const NO_DEVICE_ADVICE =
    "; without a sound card, ALSOFT_DRIVERS=null plays into silence, and ALSOFT_CONF naming a "
    "file that holds \"[general]\" \"drivers = wave\" \"[wave]\" \"file = /absolute/out.wav\" "
    "writes the sound to that WAV file";
