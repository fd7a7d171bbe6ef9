#include "level_load.h"

#include <cctype>

#include "level/level_file.h"
#include "level_encoder.h"
#include "level_source.h"
#include "shell/file_bytes.h"

bool is_whole_level_file(const std::vector<std::uint8_t>& bytes) {
  level_data level = parse_level(bytes.data(), bytes.size());
  std::size_t size = 4 + TRIANGLE_RECORD_BYTES * level.triangles.size() + 3 +
                     OBJECT_RECORD_BYTES * level.objects.size();
  return !level.truncated && level.vertex_count >= 0 && level.object_count >= 0 &&
         size == bytes.size();
}

bool looks_like_level_source(const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes)
    if (!std::isspace(b)) return b == '{' || b == '<';
  return false;
}

bool build_level_source(const std::vector<std::uint8_t>& source, const std::string& name,
                        playable_level& out, std::string& why) {
  problem_list problems(name);
  level_data level;
  bool ok = level_from_source(source, level, problems);
  out.notes = problems.notes();
  if (!ok) {
    std::size_t more = problems.lines().size() - 1;
    why = problems.lines().front();
    if (more > 0) why += " (and " + std::to_string(more) + (more == 1 ? " more problem)" : " more problems)");
    return false;
  }
  out.bytes = encode_level(level);
  out.built = true;
  return true;
}

bool load_playable_level(const std::string& path, playable_level& out, std::string& why) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    why = path + ": cannot read it: " + reason;
    return false;
  }
  if (is_whole_level_file(bytes) || !looks_like_level_source(bytes)) {
    out = playable_level{};
    out.bytes = std::move(bytes);
    return true;
  }
  return build_level_source(bytes, path, out, why);
}
