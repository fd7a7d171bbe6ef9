// Stands in for the level-source readers when the page is built without
// GLU's tessellator (scripts/web.sh could not fetch its source): every level
// source is refused with directions to build it first.
#include "level_source.h"

bool level_from_source(const std::vector<std::uint8_t>&, level_data&, problem_list& problems,
                       bool*) {
  problems.add("",
               "this page reads level files only; build the level first with: leveltool build " +
                   problems.file() + " level.map, then drop level.map here");
  return false;
}

bool load_level_source(const std::string&, level_data& level, problem_list& problems) {
  return level_from_source({}, level, problems);
}
