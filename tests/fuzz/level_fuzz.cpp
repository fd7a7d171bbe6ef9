// Fuzz target for the level loader alone: any bytes at all must load into
// whole records and objects without reading past the data, crashing or
// leaking, and the findings the game says about a level must be made of
// them just as safely. Without a window the objects load no pictures.
#include <cstddef>
#include <cstdint>

#include "level/container.h"
#include "level/terrain.h"
#include "level_findings.h"
#include "shell/object.h"

// The placement checks stop after this much work, far less than the game
// allows: an input of dense terrain over many objects then costs a
// few milliseconds, not seconds, and the note on what was left unchecked is
// made often.
constexpr std::uint64_t FUZZ_PLACEMENT_WORK = 100'000;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  examine_level(data, size, {}, FUZZ_PLACEMENT_WORK);
  make_level(data, size, "fuzz.map");
  destroy_all_instances();
  freeCollisions();
  return 0;
}
