#include "level_input.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "level/level_file.h"
#include "level_encoder.h"
#include "level_source.h"
#include "shell/file_bytes.h"
#include "tiled_source.h"

namespace {
// The size of the level file whose counts are those of `level`.
std::size_t size_for_counts(const level_data& level) {
  return 4 + TRIANGLE_RECORD_BYTES * level.triangles.size() + 3 +
         OBJECT_RECORD_BYTES * level.objects.size();
}

// Byte 0 of a level file is never read and may hold anything, "{" too; a
// file whose counts match its size exactly is a level file whatever it holds.
bool is_whole_level_file(const std::vector<std::uint8_t>& bytes) {
  level_data level = parse_level(bytes.data(), bytes.size());
  return !level.truncated && level.vertex_count >= 0 && level.object_count >= 0 &&
         size_for_counts(level) == bytes.size();
}

// Which reader `level_from_source` used; asked only of a source that built,
// so the JSON is known to be sound.
level_input_kind source_kind(const std::vector<std::uint8_t>& bytes) {
  nlohmann::json root = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
  return is_tiled_map(root) ? level_input_kind::tiled_map : level_input_kind::project_source;
}
}  // namespace

bool looks_like_level_source(const std::vector<std::uint8_t>& bytes) {
  static const std::uint8_t BYTE_ORDER_MARK[] = {0xEF, 0xBB, 0xBF};
  std::size_t first = 0;
  if (bytes.size() >= 3 && std::equal(BYTE_ORDER_MARK, BYTE_ORDER_MARK + 3, bytes.begin()))
    first = 3;
  while (first < bytes.size() && std::isspace(bytes[first])) ++first;
  return first < bytes.size() && (bytes[first] == '{' || bytes[first] == '<');
}

bool read_level_input(const std::string& path, level_input& input, problem_list& problems) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    problems.add("", "cannot read it: " + reason);
    return false;
  }
  if (is_whole_level_file(bytes) || !looks_like_level_source(bytes)) {
    input.kind = level_input_kind::level_file;
    input.bytes = std::move(bytes);
    return true;
  }
  input.kind = level_input_kind::project_source;
  level_data level;
  if (!level_from_source(bytes, level, problems)) return false;
  input.kind = source_kind(bytes);
  input.bytes = encode_level(level);
  return true;
}

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

temporary_level_file::~temporary_level_file() {
  if (!path_.empty()) std::remove(path_.c_str());
}

bool temporary_level_file::write(const std::vector<std::uint8_t>& bytes, std::string& why) {
  std::error_code error;
  std::string templ = (std::filesystem::temp_directory_path(error) / "leveltool-XXXXXX").string();
  int fd = mkstemp(templ.data());
  if (fd < 0) {
    why = "cannot make a temporary file for the built level: " + std::string(std::strerror(errno));
    return false;
  }
  path_ = templ;
  FILE* out = fdopen(fd, "wb");
  bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (!out) close(fd);
  if (out && std::fclose(out) != 0) written = false;
  if (!written) why = "cannot write the built level to " + path_ + ": " + std::strerror(errno);
  return written;
}
