#include "level/source/replay_level.h"

#include <filesystem>

#include "files/utf8_paths.h"
#include "replay/sha256.h"
#include "shell/shown_text.h"

std::string replay_level_path(const std::string& path) {
  std::error_code failure;
  std::filesystem::path absolute = std::filesystem::absolute(file_path(path), failure);
  return failure ? path : absolute.lexically_normal().string();
}

bool read_replay_level(const replay& r, const std::string& given, level_input& level,
                       std::string& path, std::string& error) {
  path = given.empty() ? r.level_path : given;
  problem_list problems(shown_text(path));
  if (!read_level_input(path, level, problems)) {
    error = problems_in_one_line(problems) +
            (given.empty() ? " (the level the replay names; name the level after the replay)" : "");
    return false;
  }
  std::string sha256 = sha256_hex(level.bytes);
  if (sha256 == r.level_sha256) return true;
  error = shown_text(path) + " is not the level the replay was played on: its SHA-256 is " +
          sha256 + ", the replay's level's " + r.level_sha256;
  return false;
}
