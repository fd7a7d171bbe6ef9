#include "device_advice.h"

const char* const NO_DEVICE_ADVICE =
    "; without a sound card, \"set ALSOFT_DRIVERS=null\" before oggplay plays into silence, and "
    "\"set ALSOFT_CONF=C:\\path\\wave.ini\", naming a file that holds \"[general]\" "
    "\"drivers = wave\" \"[wave]\" \"file = C:\\path\\out.wav\", writes the sound to that WAV file";
