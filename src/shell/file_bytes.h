// Reading a whole data file (level, picture) into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Fills out with the file's bytes. Returns false, with the reason in words,
// when the file cannot be opened or read.
bool read_file_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason);
