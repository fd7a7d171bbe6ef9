#include "level_encoder.h"

#include <cstdlib>

// The low byte skips the stored value 128, which decodes the same as 127:
// remainders of 128 or more are written one higher. A magnitude of 32,640
// needs a high byte of 128, which decodes as -128: its sign byte is turned
// round.
void encode_number(int value, std::uint8_t out[3]) {
  int magnitude = std::abs(value);
  if (magnitude == 255 * 128) {
    out[0] = value < 0 ? 1 : 0;
    out[1] = 128;
    out[2] = 0;
    return;
  }
  int low = magnitude % 255;
  out[0] = value < 0 ? 0 : 1;
  out[1] = static_cast<std::uint8_t>(magnitude / 255);
  out[2] = static_cast<std::uint8_t>(low >= 128 ? low + 1 : low);
}

namespace {
void append_number(std::vector<std::uint8_t>& out, int value) {
  std::uint8_t triple[3];
  encode_number(value, triple);
  out.insert(out.end(), triple, triple + 3);
}
}  // namespace

std::vector<std::uint8_t> encode_level(const level_data& level) {
  std::vector<std::uint8_t> out;
  out.push_back(0);
  append_number(out, static_cast<int>(3 * level.triangles.size()));
  for (const level_triangle& t : level.triangles) {
    for (const level_vertex& v : t.v) {
      append_number(out, v.x);
      append_number(out, v.y);
      out.push_back(static_cast<std::uint8_t>(v.r));
      out.push_back(static_cast<std::uint8_t>(v.g));
      out.push_back(static_cast<std::uint8_t>(v.b));
    }
  }
  append_number(out, static_cast<int>(level.objects.size()));
  for (const level_object& o : level.objects) {
    out.push_back(static_cast<std::uint8_t>(o.type));
    append_number(out, o.x);
    append_number(out, o.y);
  }
  return out;
}
