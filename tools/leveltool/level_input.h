// What check, render and dump read: a level file, or a level source built in
// memory (src/level/source/level_load.h), and how the tool names the two.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level_load.h"

// "a level file", "a level source (the project's JSON)" or "a level source
// (a Tiled map)".
std::string kind_text(level_input_kind kind);

// A built level in a file of its own for as long as this object lives: the
// game's level object reads its level from a file.
class temporary_level_file {
 public:
  temporary_level_file() = default;
  ~temporary_level_file();
  temporary_level_file(const temporary_level_file&) = delete;
  temporary_level_file& operator=(const temporary_level_file&) = delete;

  // Writes the bytes to a new file in the temporary folder. False with the
  // reason when it cannot.
  bool write(const std::vector<std::uint8_t>& bytes, std::string& why);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
