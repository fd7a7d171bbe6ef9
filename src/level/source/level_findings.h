// What a level will do that its designer should know, found from the bytes
// of its level file alone: the facts of what the game makes of it, notes on
// oddities the game lives with, and problems that spoil the level (counts
// that do not match the data, type codes the game skips, blobs or crates
// starting inside terrain, a blob with nothing below it, a crate too close
// above the ground, turns of Tab that leave no blob under control, no blob
// at all). `leveltool check` prints them all; the game says the notes and
// problems of each level it plays.
//
// Nothing here touches the game's world: the collision questions go to a
// list of the level's own, so the findings can be made on any thread while
// a level plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level_load.h"

struct level_findings {
  std::vector<std::string> facts;
  std::vector<std::string> notes;
  std::vector<std::string> problems;
};

// The work the placement checks may do (terrain_columns::work(): the
// triangles looked at and the pixels tested, 150 to 200 million a second
// here), about 4 s of it. Dense terrain over many objects would otherwise
// take minutes, in check, at the game's start and on each save: 10,878 long
// thin triangles whose boxes cover 60 crates took 57 s, 10,000 huge ones
// over 32,000 blobs longer still. A level of 10,879 triangles of rolling
// ground and 32,000 objects is checked whole in 0.8 s (8 million). The
// objects left when the work runs out are named in one note.
constexpr std::uint64_t PLACEMENT_WORK = 600'000'000;

// Examines the bytes of a level file. `object_names` names each object
// record as its source does (level_input::object_names); without them an
// object is "object N", N its place among the file's records.
level_findings examine_level(const std::uint8_t* bytes, std::size_t size,
                             const std::vector<std::string>& object_names = {},
                             std::uint64_t placement_work = PLACEMENT_WORK);

// The notes and problems of a level read or built for playing, one line
// each: "FILE: problem: ..." and "FILE: note: ...". At most LINES_SAID of
// each kind, then one line saying how many more `leveltool check` lists.
constexpr std::size_t LINES_SAID = 10;
std::vector<std::string> level_finding_lines(const std::string& path, const level_input& level);
