#include "level_source.h"

#include <cctype>
#include <cstring>
#include <nlohmann/json.hpp>

#include "files/file_bytes.h"
#include "project_source.h"
#include "tiled_source.h"

using nlohmann::json;

namespace {
// nlohmann prefixes its messages with an id such as
// "[json.exception.parse_error.101] "; the rest says where and what.
std::string without_exception_id(const std::string& message) {
  std::size_t end = message.find("] ");
  return end == std::string::npos ? message : message.substr(end + 2);
}

// Whether the text's arrays and objects nest more than `most` deep,
// brackets inside strings not counted. The parser itself keeps its own
// stack, but copying, printing and reading the parsed values recurse once
// per level: a few tens of thousands of nested brackets would exhaust the
// stack. Counted before parsing rather than by a callback to the parser,
// which would then look over each closing container's parent again: time
// that grows with the square of the number of items.
bool nests_deeper_than(const std::vector<std::uint8_t>& bytes, int most) {
  int depth = 0;
  bool in_string = false, escaped = false;
  for (std::uint8_t c : bytes) {
    if (in_string) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > most) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

bool looks_like_xml(const std::vector<std::uint8_t>& bytes) {
  return first_text_byte(bytes) == '<';
}

// A file name as a shell command takes it.
std::string shell_word(const std::string& name) {
  bool plain = !name.empty();
  for (char c : name)
    plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("._/+-", c));
  if (plain) return name;
  std::string quoted = "'";
  for (char c : name) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Tiled converts its XML maps to JSON from the command line too.
std::string export_command(const std::string& path) {
  std::size_t dot = path.rfind('.');
  bool has_extension = dot != std::string::npos && path.find('/', dot) == std::string::npos;
  std::string json_path = (has_extension ? path.substr(0, dot) : path) + ".tmj";
  return "tiled --export-map json " + shell_word(path) + " " + shell_word(json_path);
}

bool parse_json(const std::vector<std::uint8_t>& bytes, json& root, problem_list& problems) {
  if (looks_like_xml(bytes)) {
    problems.add("",
                 "this is XML; save Tiled maps in the JSON format (.tmj or .json), in Tiled "
                 "or with: " +
                     export_command(problems.file()));
    return false;
  }
  if (nests_deeper_than(bytes, SOURCE_DEPTH_MAX)) {
    problems.add("", "nested more than " + std::to_string(SOURCE_DEPTH_MAX) +
                         " levels deep; a level source needs only a few");
    return false;
  }
  try {
    root = json::parse(bytes.begin(), bytes.end());
    return true;
  } catch (const json::parse_error& e) {
    problems.add("", "not valid JSON: " + without_exception_id(e.what()));
  } catch (const json::exception& e) {  // a number too large for a double, for one
    problems.add("", "cannot read its JSON: " + without_exception_id(e.what()));
  }
  return false;
}
}  // namespace

bool level_from_source(const std::vector<std::uint8_t>& bytes, level_data& level,
                       problem_list& problems, bool* tiled_map) {
  json root;
  if (!parse_json(bytes, root, problems)) return false;
  bool tiled = is_tiled_map(root);
  if (tiled_map) *tiled_map = tiled;
  try {
    level = tiled ? read_tiled_map(root, problems) : read_project_source(root, problems);
  } catch (const json::exception& e) {
    problems.add("", "cannot read its JSON: " + without_exception_id(e.what()));
  }
  return problems.empty();
}

bool load_level_source(const std::string& path, level_data& level, problem_list& problems) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    problems.add("", "cannot read it: " + reason);
    return false;
  }
  return level_from_source(bytes, level, problems);
}
