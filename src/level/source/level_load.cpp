#include "level_load.h"

#include <cctype>

#include "files/file_bytes.h"
#include "level/level_file.h"
#include "level_encoder.h"
#include "level_source.h"
#include "pictures/picture_size.h"
#include "shell/counts_and_lists.h"

namespace {
// A file named as a level source (.json, .tmj, .tmx) that holds no text at
// all is a broken source, not an empty level file: an editor that saved
// nothing, or a save still being written.
bool named_as_source(const std::string& path) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == "json" || extension == "tmj" || extension == "tmx";
}

// The size of the level file whose counts are those of `level`.
std::size_t size_for_counts(const level_data& level) {
  return 4 + TRIANGLE_RECORD_BYTES * level.triangles.size() + 3 +
         OBJECT_RECORD_BYTES * level.objects.size();
}
}  // namespace

// Byte 0 of a level file is never read and may hold anything, "{" too; a
// file whose counts match its size exactly is a level file whatever it holds.
bool is_whole_level_file(const std::vector<std::uint8_t>& bytes) {
  level_data level = parse_level(bytes.data(), bytes.size());
  return !level.truncated && level.vertex_count >= 0 && level.object_count >= 0 &&
         size_for_counts(level) == bytes.size();
}

bool looks_like_level_source(const std::vector<std::uint8_t>& bytes) {
  int first = first_text_byte(bytes);
  return first == '{' || first == '<';
}

bool level_input_from_source(const std::vector<std::uint8_t>& source, level_input& input,
                             problem_list& problems) {
  input.kind = level_input_kind::project_source;
  level_data level;
  bool tiled_map = false;
  if (!level_from_source(source, level, problems, &tiled_map)) return false;
  input.kind = tiled_map ? level_input_kind::tiled_map : level_input_kind::project_source;
  input.bytes = encode_level(level);
  input.object_names = std::move(level.object_names);
  return true;
}

bool read_as_level_source(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return !is_whole_level_file(bytes) && (named_as_source(path) || looks_like_level_source(bytes));
}

bool level_input_from_file(const std::string& path, std::vector<std::uint8_t> bytes,
                           level_input& input, problem_list& problems) {
  if (first_text_byte(bytes) < 0 && named_as_source(path)) {
    problems.add(
        "", std::string(bytes.empty() ? "the file is empty" : "the file holds only white space") +
                "; a level source is JSON");
    return false;
  }
  const char* picture = is_whole_level_file(bytes) ? nullptr : picture_format(bytes);
  if (picture) {
    problems.add("", std::string("this is a ") + picture +
                         " picture, not a level: a level is a level file (leveltool build "
                         "makes one) or a level source (.json, .tmj)");
    return false;
  }
  if (!read_as_level_source(path, bytes)) {
    input.kind = level_input_kind::level_file;
    input.bytes = std::move(bytes);
    return true;
  }
  return level_input_from_source(bytes, input, problems);
}

bool read_level_input(const std::string& path, level_input& input, problem_list& problems) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    problems.add("", "cannot read it: " + reason);
    return false;
  }
  return level_input_from_file(path, std::move(bytes), input, problems);
}

std::string problems_in_one_line(const problem_list& problems) {
  if (problems.empty()) return "";
  std::size_t more = problems.lines().size() - 1;
  std::string line = problems.lines().front();
  if (more > 0) line += " (and " + count_of(more, "more problem") + ")";
  return line;
}
