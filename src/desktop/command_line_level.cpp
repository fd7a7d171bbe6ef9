#include "desktop/command_line_level.h"

#include <filesystem>

#include "desktop/blobdemo_says.h"
#include "desktop/level_reloader.h"
#include "files/data_path.h"
#include "files/utf8_paths.h"
#include "level/container.h"
#include "level/source/level_load.h"
#include "level/source/replay_level.h"
#include "replay/replay_session.h"
#include "replay/sha256.h"
#include "shell/game.h"
#include "shell/game_pictures.h"

namespace {
std::string level_folder(const std::string& path) {
  std::error_code error;
  return std::filesystem::absolute(file_path(path), error).parent_path().u8string();
}
}  // namespace

// The findings on the level (up to a few seconds for a dense one) are made
// while the game runs: the window opens at once.
int play_command_line_level(const std::string& path, int argc, char** argv, replay_session* session,
                            const std::string& replay_path,
                            const std::function<void()>& between_ticks) {
  problem_list problems(path);
  level_input level;
  bool playable = read_level_input(path, level, problems);
  for (const std::string& note : problems.notes()) blobdemo_says(note);
  if (!playable) {
    blobdemo_says(problems_in_one_line(problems));
    return 1;
  }
  if (session) {
    session->record(replay_level_path(path), sha256_hex(level.bytes));
    blobdemo_says("recording to " + replay_path + ": Escape ends the game and writes it");
  }
  set_level_bytes(level.bytes, path);
  use_data_folders_for_level(path, "blobdemo");
  for (const std::string& note : picture_name_near_misses(level_folder(path)))
    blobdemo_says("note: " + note);
  level_reloader reloader(path, session);
  reloader.examine(std::move(level));
  return game_main(
      argc, argv,
      [&reloader, &between_ticks] {
        reloader.check();
        if (between_ticks) between_ticks();
      },
      session);
}
