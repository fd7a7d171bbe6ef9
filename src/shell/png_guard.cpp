#include "shell/png_guard.h"

#include <cstring>

namespace {
const std::uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t CHUNK_OVERHEAD = 12;  // length, type and CRC, bytes

std::uint32_t read_be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         p[3];
}
}  // namespace

bool png_chunks_fit(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof PNG_SIGNATURE || std::memcmp(data, PNG_SIGNATURE, sizeof PNG_SIGNATURE) != 0)
    return true;
  std::size_t at = sizeof PNG_SIGNATURE;
  while (size - at >= CHUNK_OVERHEAD) {
    std::uint32_t length = read_be32(data + at);
    if (length > 0x7FFFFFFFu || length > size - at - CHUNK_OVERHEAD) return false;
    bool is_end = std::memcmp(data + at + 4, "IEND", 4) == 0;
    at += CHUNK_OVERHEAD + length;
    if (is_end) return true;
  }
  return false;  // the data ends before IEND
}
