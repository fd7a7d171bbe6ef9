// The program's version, the one the project's CMake file declares; every
// program prints it for --version, and replays record it.
#pragma once

#include <cstdio>
#include <cstring>

constexpr const char* PROGRAM_VERSION = BLOB_VERSION;

// True, having printed "NAME VERSION" on standard output, when the command
// line is `NAME --version`.
inline bool answered_version(int argc, char** argv, const char* name) {
  if (argc != 2 || std::strcmp(argv[1], "--version") != 0) return false;
  std::printf("%s %s\n", name, PROGRAM_VERSION);
  return true;
}
