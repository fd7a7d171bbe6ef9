#include "level_source.h"

#include <cctype>
#include <nlohmann/json.hpp>
#include <vector>

#include "project_source.h"
#include "shell/file_bytes.h"
#include "tiled_source.h"

using nlohmann::json;

namespace {
// nlohmann prefixes its messages with an id such as
// "[json.exception.parse_error.101] "; the rest says where and what.
std::string without_exception_id(const std::string& message) {
  std::size_t end = message.find("] ");
  return end == std::string::npos ? message : message.substr(end + 2);
}

bool parse_json(const std::vector<std::uint8_t>& bytes, json& root, problem_list& problems) {
  std::size_t first = 0;
  while (first < bytes.size() && std::isspace(bytes[first])) ++first;
  if (first < bytes.size() && bytes[first] == '<') {
    problems.add("", "this is XML; save Tiled maps in the JSON format (.tmj or .json)");
    return false;
  }
  try {
    root = json::parse(bytes.begin(), bytes.end());
    return true;
  } catch (const json::parse_error& e) {
    problems.add("", "not valid JSON: " + without_exception_id(e.what()));
    return false;
  }
}
}  // namespace

bool load_level_source(const std::string& path, level_data& level, problem_list& problems) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    problems.add("", "cannot read it: " + reason);
    return false;
  }
  json root;
  if (!parse_json(bytes, root, problems)) return false;
  level = is_tiled_map(root) ? read_tiled_map(root, problems) : read_project_source(root, problems);
  return problems.empty();
}
