// SHA-256 of a level's bytes: a replay names the level it was played on by
// this hash, so that it is never replayed on another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The hash as 64 lower-case hexadecimal digits, as sha256sum prints it.
std::string sha256_hex(const std::vector<std::uint8_t>& bytes);
