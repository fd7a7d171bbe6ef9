// The file a path leads to when it is a symbolic link: a level, or a file
// to write, given as a link into another folder is watched and written
// there. link_target.cpp serves Linux and the browser, link_target_windows.cpp
// Windows; the build picks one.
#pragma once

#include <string>

// Follows the links that the path's last part names, one after another, and
// returns the path they end at (which need not exist). A path that is no
// link comes back as it is, and so does one whose links cannot be read, or
// that go round in a loop: opening it then says why.
std::string link_target(const std::string& path);
