// Fuzz target for the replay reader, which the page runs on any file
// dropped onto it: any bytes are read without crashing, and a replay it
// accepts is written back as a text that reads as the same replay.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  replay r, again;
  std::string error;
  if (!parse_replay(text, "fuzz.replay", r, error)) return 0;
  std::string written = replay_text(r);
  if (!parse_replay(written, "fuzz.replay", again, error) || replay_text(again) != written)
    std::abort();  // a replay written must read back as itself
  return 0;
}
