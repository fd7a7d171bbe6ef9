// A level from a file of either kind: a level file as it is, or a level
// source (the project's JSON or a Tiled map) built in memory exactly as
// `leveltool build` builds it. The two are told apart by their content, and
// a file named as a source is one. The game plays the level named on its
// command line this way, and blobrun the level it runs; leveltool's check,
// render and dump read their input this way, and the page the files dropped
// on it.
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
  // How a source names each object record, in file order (a Tiled map:
  // "object 11 \"hero\" in layer \"things\""), so that messages about the
  // level name objects as the designer knows them; empty for a level file.
  std::vector<std::string> object_names;
};

// True when the counts of a level file add up to exactly these bytes.
bool is_whole_level_file(const std::vector<std::uint8_t>& bytes);

// A level file is binary and its counts add up to its size; a level source
// is text that starts with "{" (JSON) or "<" (a Tiled map saved as XML, which
// the reader refuses with advice). Anything else is taken for a damaged
// level file, so that check can say what is wrong with it.
bool looks_like_level_source(const std::vector<std::uint8_t>& bytes);

// Whether the bytes of the file at `path` are built as a level source: their
// counts do not add up to their size, and the file is named as a source
// (.json, .tmj, .tmx) or starts like one. So a file named as JSON is never
// read as a damaged level file, whatever it starts with ("[" included).
bool read_as_level_source(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Builds a source's bytes into a level file's. False when it does not
// build; problems then says every reason.
bool level_input_from_source(const std::vector<std::uint8_t>& source, level_input& input,
                             problem_list& problems);

// For the bytes of the file at `path`, already read: a level file as it is,
// or a source built. A file named as a source that holds no text at all is
// refused as an empty source, not read as an empty level file. False when
// the source does not build; problems then says every reason.
bool level_input_from_file(const std::string& path, std::vector<std::uint8_t> bytes,
                           level_input& input, problem_list& problems);

// Reads the file and, for a source, builds it. False when the file cannot
// be read or the source does not build; problems then says every reason.
bool read_level_input(const std::string& path, level_input& input, problem_list& problems);

// All the problems in one line: the first, and how many more there are.
std::string problems_in_one_line(const problem_list& problems);
