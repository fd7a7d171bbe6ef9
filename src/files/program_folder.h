// The folder that holds the running program, the part of finding the
// game's own data that differs between systems: program_folder.cpp serves
// Linux (and the browser, where there is none), program_folder_windows.cpp
// Windows; the build picks one.
#pragma once

#include <filesystem>

// Empty when the system cannot tell.
std::filesystem::path program_folder();
