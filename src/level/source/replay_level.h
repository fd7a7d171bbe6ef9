// The level of a replay: read as the game reads a level named on its
// command line (a level file, or a source built in memory), and known by
// the SHA-256 of the level file's bytes. Used by blobdemo to record and
// play replays and by blobrun to check them.
#pragma once

#include <string>

#include "level_load.h"
#include "replay/replay_file.h"

// The path a recording names its level by: absolute, so the replay finds
// it from any folder.
std::string replay_level_path(const std::string& path);

// Reads the level a replay was played on: `given` when it is not empty,
// else the one at the path the replay names. Refuses a level whose SHA-256
// is not the replay's, naming both. False with one line in error, naming
// the file; `path` is the level's path either way.
bool read_replay_level(const replay& r, const std::string& given, level_input& level,
                       std::string& path, std::string& error);
