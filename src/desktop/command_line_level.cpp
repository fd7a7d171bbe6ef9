#include "desktop/command_line_level.h"

#include "desktop/blobdemo_says.h"
#include "desktop/level_reloader.h"
#include "files/data_path.h"
#include "level/container.h"
#include "level/source/level_load.h"
#include "level/source/replay_level.h"
#include "replay/replay_session.h"
#include "replay/sha256.h"
#include "shell/game.h"

// The findings on the level (up to a few seconds for a dense one) are made
// while the game runs: the window opens at once.
int play_command_line_level(const std::string& path, int argc, char** argv, replay_session* session,
                            const std::function<void()>& between_ticks) {
  problem_list problems(path);
  level_input level;
  bool playable = read_level_input(path, level, problems);
  for (const std::string& note : problems.notes()) blobdemo_says(note);
  if (!playable) {
    blobdemo_says(problems_in_one_line(problems));
    return 1;
  }
  if (session) session->record(replay_level_path(path), sha256_hex(level.bytes));
  set_level_bytes(level.bytes, path);
  use_data_folders_for_level(path, "blobdemo");
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
