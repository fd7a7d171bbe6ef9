// Fuzz target for the level tool's readers of level sources: the project's
// JSON and Tiled maps. Any bytes must give a level or a list of problems,
// never a crash, an uncaught exception, a hang or a leak; and a level that
// is accepted must be one a level file can hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "level/level_file.h"
#include "level_source.h"
#include "problems.h"

namespace {
bool in_range(int value) { return value >= -LEVEL_COORD_MAX && value <= LEVEL_COORD_MAX; }

bool fits_a_level_file(const level_data& level) {
  if (level.triangles.size() > static_cast<std::size_t>(LEVEL_COORD_MAX) / 3 ||
      level.objects.size() > static_cast<std::size_t>(LEVEL_COORD_MAX))
    return false;
  for (const level_triangle& t : level.triangles)
    for (const level_vertex& v : t.v)
      if (!in_range(v.x) || !in_range(v.y)) return false;
  for (const level_object& o : level.objects)
    if (!in_range(o.x) || !in_range(o.y) || o.type < 0 || o.type > 5) return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  problem_list problems("fuzz.json");
  level_data level;
  if (level_from_source(bytes, level, problems) && !fits_a_level_file(level)) std::abort();
  return 0;
}
