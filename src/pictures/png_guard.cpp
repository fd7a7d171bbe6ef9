#include "pictures/png_guard.h"

#include <cstring>

namespace {
const std::uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// An empty IEND chunk: length 0, type, and the CRC of the type.
const std::uint8_t END_CHUNK[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
constexpr std::size_t CHUNK_OVERHEAD = 12;  // length, type and CRC, bytes

std::uint32_t read_be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         p[3];
}

bool is_png(const std::vector<std::uint8_t>& data) {
  return data.size() >= sizeof PNG_SIGNATURE &&
         std::memcmp(data.data(), PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0;
}
}  // namespace

bool make_png_chunks_whole(std::vector<std::uint8_t>& data) {
  if (!is_png(data)) return true;
  const std::size_t size = data.size();
  std::size_t at = sizeof PNG_SIGNATURE;
  while (at < size) {
    if (size - at < CHUNK_OVERHEAD) return false;  // cut inside a chunk's header
    std::uint32_t length = read_be32(&data[at]);
    if (length > 0x7FFFFFFFu || length > size - at - CHUNK_OVERHEAD) return false;
    if (std::memcmp(&data[at + 4], "IEND", 4) == 0) return true;
    at += CHUNK_OVERHEAD + length;
  }
  data.insert(data.end(), END_CHUNK, END_CHUNK + sizeof END_CHUNK);
  return true;
}
