// The game names its data files with backslash separators (".\images\x.png");
// this maps such a name onto the host's file system.
#pragma once

#include <string>

std::string host_path(const char* game_path);
