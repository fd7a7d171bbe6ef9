// Fuzz target for the level loader: any bytes at all must load into whole
// records without reading past the data, crashing, hanging or leaking.
#include <cstddef>
#include <cstdint>

#include "level/container.h"
#include "level/terrain.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/texture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  disable_texture_loading();  // no window here: objects get texture 0
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  make_level(data, size, "fuzz.map");
  // One step pass, as the game's first tick makes: blobs that start inside
  // terrain must find their way out in bounded time.
  step_pass();
  destroy_all_instances();
  freeCollisions();
  return 0;
}
