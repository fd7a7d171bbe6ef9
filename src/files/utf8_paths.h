// File names as the programs hold them: UTF-8 strings, on every system.
// Linux takes them as they are. Windows names files in UTF-16 and hands a
// program its arguments in the system's code page, which cannot spell every
// name (utf8_paths_windows.cpp): there the arguments are taken again from
// the wide command line, and every file is named through these functions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The path a UTF-8 name stands for. (A std::string given to std::filesystem
// as it is would be read in the code page on Windows.)
inline std::filesystem::path file_path(const std::string& utf8) {
  return std::filesystem::u8path(utf8);
}

// std::fopen for a UTF-8 name.
std::FILE* open_file(const std::string& utf8, const char* mode);

// Makes argc and argv the program's arguments in UTF-8, for a program's
// main to call first. They stay valid until the program ends.
void use_utf8_arguments(int& argc, char**& argv);
