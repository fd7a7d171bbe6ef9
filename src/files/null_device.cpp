#include "files/null_device.h"

const char* const NULL_DEVICE = "/dev/null";
