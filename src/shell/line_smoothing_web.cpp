#include "shell/line_smoothing.h"

// The browser's GL has no line smoothing to ask for.
void smooth_lines() {}
