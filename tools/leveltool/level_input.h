// What check, render and dump read: a level file, or a level source built in
// memory (src/level/source/level_load.h), and how the tool names the two.
#pragma once

#include <string>

#include "level_load.h"

// "a level file", "a level source (the project's JSON)" or "a level source
// (a Tiled map)".
std::string kind_text(level_input_kind kind);
