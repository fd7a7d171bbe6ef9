// Where the game's data files are. The game names them with backslash
// separators (".\images\x.png"), relative to its data folder: the working
// folder, unless a level named on the command line asked for another.
#pragma once

#include <string>

// Maps a game file name onto the host's file system, in the data folder.
std::string host_path(const char* game_path);

// Makes relative game file names start from `folder`; empty: the working
// folder again.
void set_data_folder(const std::string& folder);

// The folder of the pictures and level the game ships: share/blobdemo of the
// installed copy that the running program belongs to, else data/ of the
// checkout it was built from. Empty when neither holds images/.
std::string shipped_data_folder();

// The data folder for a level played from `level_path`: the level's own
// folder when it holds images/, else the shipped one (empty when there is
// none either).
std::string data_folder_for_level(const std::string& level_path);
