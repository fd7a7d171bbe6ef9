// frame_pacer and run_paced_loop are defined inline in the header so that
// tests can instantiate the loop with an injected clock.
#include "shell/pacing.h"
