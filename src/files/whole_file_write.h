// Writing files (levels, pictures, replays) so that a failure never leaves a
// half-written file behind and never spoils an older one.
#pragma once

#include <cstddef>
#include <string>

// Writes the bytes to a temporary file in the target's folder and renames it
// over the target. Returns false with the reason when anything fails; the
// temporary file is then removed and the target left as it was.
bool write_file_atomically(const std::string& path, const void* data, std::size_t size,
                           std::string& why);

inline bool write_file_atomically(const std::string& path, const std::string& text,
                                  std::string& why) {
  return write_file_atomically(path, text.data(), text.size(), why);
}
