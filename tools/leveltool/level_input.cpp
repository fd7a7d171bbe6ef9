#include "level_input.h"

std::string kind_text(level_input_kind kind) {
  switch (kind) {
    case level_input_kind::level_file:
      return "a level file";
    case level_input_kind::project_source:
      return "a level source (the project's JSON)";
    case level_input_kind::tiled_map:
      return "a level source (a Tiled map)";
  }
  return "a level file";
}
