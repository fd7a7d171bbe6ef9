#include "shell/output_files.h"

// The terminal, or wherever the caller sent the streams.
void open_output_files() {}
