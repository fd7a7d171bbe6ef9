// What `leveltool check` says about a level file: the facts of what the game
// will make of it, notes on oddities the game lives with, and problems that
// spoil the level (counts that do not match the data, type codes the game
// skips, blobs or crates starting inside terrain, turns of Tab that leave no
// blob under control).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct level_report {
  std::vector<std::string> facts;
  std::vector<std::string> notes;
  std::vector<std::string> problems;
};

// Examines the bytes of a level file. Uses the game's triangle list for the
// collision tests, which must be empty on entry and is empty again on return.
level_report examine_level(const std::uint8_t* bytes, std::size_t size);

// The report as text, facts first, one finding a line.
std::string report_text(const level_report& report);
