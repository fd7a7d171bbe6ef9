// Writing level files: the inverse of the game's decoding in
// src/level/level_file.h. The level tool builds levels with it, and the tests
// write the levels they play.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level_file.h"

// Encodes a value of magnitude <= LEVEL_COORD_MAX as a number triple.
void encode_number(int value, std::uint8_t out[3]);

// Encodes a whole level. Values must be in range (the level tool checks).
std::vector<std::uint8_t> encode_level(const level_data& level);
