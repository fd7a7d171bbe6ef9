// Reading a level source file of either kind: the project's JSON or a map
// saved by Tiled, told apart by their content.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "level/level_file.h"
#include "problems.h"

// Deeper nesting than any level source needs; the readers recurse once per
// level of Tiled's group layers, so deeper files are refused up front.
constexpr int SOURCE_DEPTH_MAX = 200;

// The first byte of the text after a UTF-8 byte-order mark and white space,
// or -1 when there is none: "{" starts JSON, "<" XML. Inline, so that the
// page's build without the readers has it too.
inline int first_text_byte(const std::vector<std::uint8_t>& bytes) {
  static const std::uint8_t BYTE_ORDER_MARK[] = {0xEF, 0xBB, 0xBF};
  std::size_t first = 0;
  if (bytes.size() >= 3 && std::equal(BYTE_ORDER_MARK, BYTE_ORDER_MARK + 3, bytes.begin()))
    first = 3;
  while (first < bytes.size() && std::isspace(bytes[first])) ++first;
  return first < bytes.size() ? bytes[first] : -1;
}

// Reads and converts the file. Returns false when the file cannot be read,
// is not JSON, or holds any value a level file cannot; problems then says
// every reason, each naming the file and the object.
bool load_level_source(const std::string& path, level_data& level, problem_list& problems);

// The same for the file's bytes, already read. When `tiled_map` is given,
// it tells whether the bytes were read as a map saved by Tiled.
bool level_from_source(const std::vector<std::uint8_t>& bytes, level_data& level,
                       problem_list& problems, bool* tiled_map = nullptr);
