#include "synthetic_level.h"

#include <algorithm>
#include <cmath>

#include "maths/portable_maths.h"

namespace {
constexpr int COLUMN_WIDTH = 40;  // pixels
constexpr int COLUMNS_PER_STRIP = 1600;
constexpr int STRIP_SPACING = 700;     // pixels between strip tops
constexpr int GROUND_DEPTH = 200;      // pixels from the bottom of the waves to the strip's floor
constexpr int FIRST_STRIP_Y = -20000;  // pixels: the top strip, leaving room below for the rest

// Hills of two wavelengths, 0..90 pixels below the strip's top.
int surface_y(int strip_top, int x) {
  double wave = 30 * portable_sin(x / 300.0) + 15 * portable_sin(x / 97.0);
  return strip_top + 45 + static_cast<int>(std::lround(wave));
}

// Earthy colours that darken with depth, as signed bytes the way the
// loader keeps them.
level_vertex vertex(int x, int y, int strip_top) {
  int shade = std::clamp(200 - (y - strip_top), 60, 200);
  auto as_byte = [](int v) { return static_cast<int>(static_cast<std::int8_t>(v)); };
  return {x, y, as_byte(shade), as_byte(shade * 3 / 4), as_byte(shade / 2)};
}

int strip_left(int columns) { return -columns * COLUMN_WIDTH / 2; }

void add_column(level_data& level, int strip_top, int left) {
  int right = left + COLUMN_WIDTH;
  int floor = strip_top + 90 + GROUND_DEPTH;
  level_vertex top_left = vertex(left, surface_y(strip_top, left), strip_top);
  level_vertex top_right = vertex(right, surface_y(strip_top, right), strip_top);
  level_vertex bottom_left = vertex(left, floor, strip_top);
  level_vertex bottom_right = vertex(right, floor, strip_top);
  level.triangles.push_back({{top_left, top_right, bottom_left}});
  level.triangles.push_back({{top_right, bottom_right, bottom_left}});
}

// Bodies spread evenly over the first strip above its surface, crates
// spaced out among the blobs; the first blob takes control.
void add_objects(level_data& level, const synthetic_request& request, int columns) {
  int width = columns * COLUMN_WIDTH;
  int bodies = request.blobs + request.crates;
  int stride = request.crates > 0 ? std::max(1, bodies / request.crates) : bodies + 1;
  int crates = 0, blobs = 0;
  for (int k = 0; k < bodies; ++k) {
    int x = strip_left(columns) + static_cast<int>((k + 0.5) * width / bodies);
    int ground = surface_y(FIRST_STRIP_Y, x);
    if (crates < request.crates && k % stride == stride / 2) {
      level.objects.push_back({0, x, ground - 200});  // rises 200 pixels, comes back
      ++crates;
    } else {
      level.objects.push_back({1 + blobs++ % 5, x, ground - 60});
    }
  }
}
}  // namespace

level_data synthetic_level(const synthetic_request& request) {
  level_data level;
  int columns = std::max(1, std::min((request.triangles + 1) / 2, COLUMNS_PER_STRIP));
  for (int k = 0; 2 * k < request.triangles; ++k) {
    int strip_top = FIRST_STRIP_Y + (k / columns) * STRIP_SPACING;
    add_column(level, strip_top, strip_left(columns) + (k % columns) * COLUMN_WIDTH);
  }
  level.triangles.resize(static_cast<std::size_t>(std::max(0, request.triangles)));
  add_objects(level, request, columns);
  level.vertex_count = static_cast<int>(3 * level.triangles.size());
  level.object_count = static_cast<int>(level.objects.size());
  return level;
}

level_data huge_triangles(int copies) {
  level_data level;
  const int edge = PILE_EDGE;
  level_triangle whole{
      {{-edge, edge, 120, 120, 120}, {edge, edge, 120, 120, 120}, {edge, -edge, 120, 120, 120}}};
  level.triangles.assign(static_cast<std::size_t>(std::max(0, copies)), whole);
  for (int k = 0; k < 5; ++k) level.objects.push_back({1 + k, -2000 + 1000 * k, 1900 - 1000 * k});
  level.vertex_count = static_cast<int>(3 * level.triangles.size());
  level.object_count = static_cast<int>(level.objects.size());
  return level;
}

// splitmix64: a small generator whose output is fixed by its seed alone.
std::vector<std::uint8_t> random_level_bytes(std::size_t count, std::uint64_t seed) {
  std::vector<std::uint8_t> bytes(count);
  std::uint64_t state = seed;
  for (std::size_t k = 0; k < count; k += 8) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    for (std::size_t b = 0; b < 8 && k + b < count; ++b)
      bytes[k + b] = static_cast<std::uint8_t>(z >> (8 * b));
  }
  return bytes;
}
