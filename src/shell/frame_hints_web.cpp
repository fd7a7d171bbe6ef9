#include "shell/frame_hints.h"

// The browser's GL shades smoothly already and has no line smoothing.
void set_frame_hints() {}
