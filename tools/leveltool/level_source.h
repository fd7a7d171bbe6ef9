// Reading a level source file of either kind: the project's JSON or a map
// saved by Tiled, told apart by their content.
#pragma once

#include <string>

#include "level/level_file.h"
#include "problems.h"

// Reads and converts the file. Returns false when the file cannot be read,
// is not JSON, or holds any value a level file cannot; problems then says
// every reason, each naming the file and the object.
bool load_level_source(const std::string& path, level_data& level, problem_list& problems);
