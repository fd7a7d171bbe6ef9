// The program's version, the one the project's CMake file declares; every
// program prints it for --version, and replays record it.
#pragma once

constexpr const char* PROGRAM_VERSION = BLOB_VERSION;
