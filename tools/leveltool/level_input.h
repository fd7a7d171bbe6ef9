// What check, render and dump read: a level file, or a level source (the
// project's JSON or a Tiled map) built in memory as `leveltool build` builds
// it. The two are told apart by their content, not by the file's name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "problems.h"

enum class level_input_kind { level_file, project_source, tiled_map };

struct level_input {
  level_input_kind kind = level_input_kind::level_file;
  // The level file: the bytes as read, or as built from the source.
  std::vector<std::uint8_t> bytes;
};

// A level file is binary and its counts add up to its size; a level source
// is text that starts with "{" (JSON) or "<" (a Tiled map saved as XML, which
// the reader refuses with advice). Anything else is taken for a damaged
// level file, so that check can say what is wrong with it.
bool looks_like_level_source(const std::vector<std::uint8_t>& bytes);

// Reads the file and, for a source, builds it. False when the file cannot
// be read or the source does not build; problems then says every reason.
bool read_level_input(const std::string& path, level_input& input, problem_list& problems);

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
