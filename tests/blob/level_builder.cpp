#include "level_builder.h"

namespace {
// The file keeps colour bytes; the decoder hands them back as signed values.
int as_signed_byte(int channel) {
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(channel));
}

level_vertex corner(int x, int y, int r, int g, int b) {
  return {x, y, as_signed_byte(r), as_signed_byte(g), as_signed_byte(b)};
}
}  // namespace

level_builder& level_builder::triangle(int x1, int y1, int x2, int y2, int x3, int y3, int r, int g,
                                       int b) {
  level_.triangles.push_back(
      {{corner(x1, y1, r, g, b), corner(x2, y2, r, g, b), corner(x3, y3, r, g, b)}});
  level_.vertex_count = static_cast<int>(3 * level_.triangles.size());
  return *this;
}

level_builder& level_builder::box(int left, int top, int right, int bottom) {
  triangle(left, top, right, top, left, bottom);
  return triangle(right, top, right, bottom, left, bottom);
}

level_builder& level_builder::object(int type, int x, int y) {
  level_.objects.push_back({type, x, y});
  level_.object_count = static_cast<int>(level_.objects.size());
  return *this;
}
