// Where the game started with no level named finds its level.map and
// images\: the part of start-up that differs between systems
// (default_data.cpp serves Linux, default_data_windows.cpp Windows; the
// build picks one).
//
// On Linux they are read from the folder the game is started in, as the
// launcher and play.sh start it in its data folder. On Windows a shortcut's
// "Start in" or a command prompt elsewhere starts it in another folder:
// what that folder lacks is then taken from beside the program, and the
// game says so once for the level and once for the pictures. When neither
// holds a file, its message names both folders (files/data_path.h).
#pragma once

#include <string>

// For the start without a level named; before the world is made.
void find_default_data();

// The level that --record without LEVEL plays: level.map, where
// find_default_data found it.
std::string default_level();
