// A level to play from a file of either kind: a level file as it is, or a
// level source (the project's JSON or a Tiled map) built in memory exactly
// as `leveltool build` builds it. The game plays the level named on its
// command line this way, and the page the files dropped on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct playable_level {
  std::vector<std::uint8_t> bytes;  // a level file's bytes
  bool built = false;               // built from a level source
  std::vector<std::string> notes;   // the readers' notes (layers left out on purpose)
};

// True when the counts of a level file add up to exactly these bytes.
bool is_whole_level_file(const std::vector<std::uint8_t>& bytes);

// True when the first byte that is not white space opens JSON ("{"), or XML
// ("<": a Tiled map in the wrong format, which the readers refuse with advice).
bool looks_like_level_source(const std::vector<std::uint8_t>& bytes);

// Builds the source read from the file `name`. False with one line in `why`
// naming the file: the first problem, and how many more there are.
bool build_level_source(const std::vector<std::uint8_t>& source, const std::string& name,
                        playable_level& out, std::string& why);

// Reads the file at `path`: a whole level file, or anything that does not
// look like a source, is a level file and is played as the game plays any
// file; a source is built. False with one line in `why` when the file cannot
// be read or the source does not build.
bool load_playable_level(const std::string& path, playable_level& out, std::string& why);
