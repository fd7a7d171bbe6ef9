// Where the game's data files are. The game names them with backslash
// separators (".\images\x.png"), relative to its data folders: the working
// folder, unless a level named on the command line asked for others. A
// level's own folder can supply some of the pictures and the game's data
// the rest: each file is taken from the first folder that holds it.
#pragma once

#include <string>
#include <vector>

// Maps a game file name onto the host's file system, in the first data
// folder that holds the file, else in the last one (where a missing file is
// then named).
std::string host_path(const char* game_path);

// How messages name a game file: as host_path maps it when a data folder
// holds it; otherwise the file and every folder it was looked for in, from
// the root: "images/font.png in /home/me/game", "level.map in A or in B".
std::string data_file_name(const char* game_path);

// Told once for each file taken from a data folder other than the usual
// one: the game file's name with '/' separators, and the folder.
using data_origin_report = void (*)(const std::string& file, const std::string& folder);

// The folders relative game file names start from, searched first to last;
// an empty name means the working folder, and no folders at all the working
// folder alone. `report`, when given, hears of every file taken from a
// folder other than the `usual` one (by default the last), once.
void set_data_folders(const std::vector<std::string>& folders, data_origin_report report = nullptr,
                      std::size_t usual = static_cast<std::size_t>(-1));

// One data folder, or the working folder again when `folder` is empty.
void set_data_folder(const std::string& folder);

// The folder of the pictures and level the game ships: share/blobdemo of the
// installed copy that the running program belongs to, else data/ of the
// checkout it was built from. Empty when neither holds images/.
std::string shipped_data_folder();

// The data folders for a level played from `level_path`: the level's own
// folder, then the shipped one (the working folder when there is none).
// Only one when the level lies in the shipped folder itself.
std::vector<std::string> data_folders_for_level(const std::string& level_path);

// The data folders for the level, with one line on standard error for each
// picture taken from beside the level rather than from the game's own:
// "PROGRAM: picture images/crate.jpg taken from beside the level (PATH)".
void use_data_folders_for_level(const std::string& level_path, const char* program);

// That line without the program's name.
std::string data_origin_line(const std::string& file, const std::string& folder);
