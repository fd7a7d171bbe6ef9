#include "pictures/picture_size.h"

#include <cstdlib>
#include <cstring>

namespace {
using bytes = std::vector<std::uint8_t>;

// Header fields are read as unsigned 16- and 32-bit values and widened to
// 64 bits, so that a 32-bit field can be told apart from its sign-flipped
// self on every platform (`long` has 32 bits on Windows and in WebAssembly).
std::int64_t be16(const bytes& d, std::size_t at) { return (std::int64_t{d[at]} << 8) | d[at + 1]; }
std::int64_t be32(const bytes& d, std::size_t at) { return (be16(d, at) << 16) | be16(d, at + 2); }
std::int64_t le16(const bytes& d, std::size_t at) { return d[at] | (std::int64_t{d[at + 1]} << 8); }
std::int64_t le32(const bytes& d, std::size_t at) { return le16(d, at) | (le16(d, at + 2) << 16); }
std::int64_t signed32(std::int64_t value) {
  return value >= 0x80000000LL ? value - 0x100000000LL : value;
}

bool starts_with(const bytes& d, const char* magic, std::size_t length) {
  return d.size() >= length && std::memcmp(d.data(), magic, length) == 0;
}

// The first chunk, IHDR, holds the width and the height.
bool png_size(const bytes& d, std::int64_t& width, std::int64_t& height) {
  if (d.size() < 24 || std::memcmp(&d[12], "IHDR", 4) != 0) return false;
  width = be32(d, 16);
  height = be32(d, 20);
  return true;
}

// After the 14-byte file header: an OS/2 header (12 bytes) of unsigned
// 16-bit sizes, or a Windows header of signed 32-bit ones, where a negative
// height means rows stored top first.
bool bmp_size(const bytes& d, std::int64_t& width, std::int64_t& height) {
  if (d.size() < 18) return false;
  bool os2 = le32(d, 14) == 12;
  if (d.size() < (os2 ? 22u : 26u)) return false;
  if (os2) {
    width = le16(d, 18);
    height = le16(d, 20);
  } else {
    width = signed32(le32(d, 18));
    height = std::llabs(signed32(le32(d, 22)));
  }
  return true;
}

bool is_frame_header(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments after the start marker to the first frame header
// (SOF0..SOF15), which holds the height and then the width. Like the
// decoder, it passes over stray bytes and fill bytes before a marker.
bool jpeg_size(const bytes& d, std::int64_t& width, std::int64_t& height) {
  std::size_t at = 2;
  while (at + 4 <= d.size()) {
    std::uint8_t marker = d[at + 1];
    if (d[at] != 0xFF || marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) {  // no length follows
      at += 2;
      continue;
    }
    if (is_frame_header(marker)) {
      if (at + 9 > d.size()) return false;
      height = be16(d, at + 5);
      width = be16(d, at + 7);
      return true;
    }
    at += 2 + be16(d, at + 2);
  }
  return false;
}
}  // namespace

declared_size declared_picture_size(const bytes& data, std::int64_t& width, std::int64_t& height) {
  bool found;
  if (starts_with(data, "\x89PNG", 4))
    found = png_size(data, width, height);
  else if (starts_with(data, "\xFF\xD8", 2))
    found = jpeg_size(data, width, height);
  else if (starts_with(data, "BM", 2))
    found = bmp_size(data, width, height);
  else
    return declared_size::other;
  return found ? declared_size::found : declared_size::missing;
}

const char* picture_format(const bytes& data) {
  if (starts_with(data, "\x89PNG\r\n\x1A\n", 8)) return "PNG";
  if (starts_with(data, "\xFF\xD8\xFF", 3)) return "JPEG";
  if (starts_with(data, "BM", 2) && data.size() >= 6 &&
      le32(data, 2) == static_cast<std::int64_t>(data.size()))
    return "BMP";
  return nullptr;
}
