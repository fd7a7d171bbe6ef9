#include "level/level_file.h"

int makeShort(int sign, int high, int low) {
  if (low < 0) low += 255;
  int magnitude = 255 * high + low;
  return sign != 0 ? magnitude : -magnitude;
}

namespace {
// Every byte of the file is taken as a signed 8-bit value.
int signed_byte(std::uint8_t b) { return static_cast<std::int8_t>(b); }

int read_number(const std::uint8_t* p) {
  return makeShort(signed_byte(p[0]), signed_byte(p[1]), signed_byte(p[2]));
}

level_vertex read_vertex(const std::uint8_t* p) {
  return {read_number(p), read_number(p + 3), signed_byte(p[6]), signed_byte(p[7]),
          signed_byte(p[8])};
}

level_object read_object(const std::uint8_t* p) {
  return {signed_byte(p[0]), read_number(p + 1), read_number(p + 4)};
}
}  // namespace

// Three vertices make a triangle, and a vertex count that is not a multiple
// of three is rounded up to whole triangles: V = 4 reads two. The object
// count follows the last triangle read.
level_data parse_level(const std::uint8_t* bytes, std::size_t size) {
  level_data level;
  std::size_t p = 4;
  if (size < p) {
    level.truncated = true;
    return level;
  }
  level.vertex_count = read_number(bytes + 1);
  for (long read = 0; 3 * read < level.vertex_count; ++read) {
    if (size - p < TRIANGLE_RECORD_BYTES) {
      level.truncated = true;
      return level;
    }
    level.triangles.push_back(
        {{read_vertex(bytes + p), read_vertex(bytes + p + 9), read_vertex(bytes + p + 18)}});
    p += TRIANGLE_RECORD_BYTES;
  }
  if (size - p < 3) {
    level.truncated = true;
    return level;
  }
  level.object_count = read_number(bytes + p);
  p += 3;
  for (int k = 0; k < level.object_count; ++k) {
    if (size - p < OBJECT_RECORD_BYTES) {
      level.truncated = true;
      break;
    }
    level.objects.push_back(read_object(bytes + p));
    p += OBJECT_RECORD_BYTES;
  }
  return level;
}
