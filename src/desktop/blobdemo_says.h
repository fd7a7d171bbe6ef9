// One line from the desktop game, named as its other messages are:
// "blobdemo: ...". It goes to standard error and to the window
// (files/said_lines.h, shell/screen_messages.h).
#pragma once

#include <string>

#include "files/said_lines.h"

inline void blobdemo_says(const std::string& line) { say_line("blobdemo: " + line); }
