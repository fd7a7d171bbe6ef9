#include "desktop/recorded_play.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "desktop/blobdemo_says.h"
#include "desktop/command_line_level.h"
#include "files/data_path.h"
#include "files/utf8_paths.h"
#include "files/whole_file_write.h"
#include "level/container.h"
#include "level/source/replay_level.h"
#include "replay/replay_file.h"
#include "replay/replay_session.h"
#include "shell/counts_and_lists.h"
#include "shell/game.h"
#include "shell/stop_signal.h"

namespace fs = std::filesystem;

namespace {
// Finds out before the game what would only fail after it: a replay path
// that is a folder, or the level itself, or in a folder that cannot be
// written.
bool replay_path_usable(const std::string& path, const std::string& level, std::string& why) {
  std::error_code failure;
  if (fs::is_directory(file_path(path), failure)) {
    why = "it is a directory";
    return false;
  }
  if (fs::equivalent(file_path(path), file_path(level), failure)) {
    why = "it is the level being played";
    return false;
  }
  std::string probe = path + ".partial";  // a file beside it, as the replay is written first
  std::FILE* file = open_file(probe, "wb");
  if (!file) {
    why = std::string("cannot create a file there: ") + std::strerror(errno);
    return false;
  }
  std::fclose(file);
  fs::remove(file_path(probe), failure);
  return true;
}
}  // namespace

int record_session(const std::string& replay_path, const std::string& level, int argc,
                   char** argv) {
  std::string why;
  if (!replay_path_usable(replay_path, level, why)) {
    blobdemo_says("cannot record to " + replay_path + ": " + why);
    return 1;
  }
  replay_session session;
  end_game_on_stop_signals();
  int status = play_command_line_level(level, argc, argv, &session);
  const replay& recorded = session.recorded();
  if (recorded.ticks == 0) return status;  // the level or the window failed
  if (!write_file_atomically(replay_path, replay_text(recorded), why)) {
    blobdemo_says("cannot write the replay " + replay_path + ": " + why);
    return 1;
  }
  blobdemo_says(replay_path + ": " + count_of(recorded.ticks, "tick") + " recorded");
  return status;
}

int show_replay(const std::string& replay_path, const std::string& level, int argc, char** argv) {
  replay r;
  level_input input;
  std::string error, level_path;
  if (!read_replay(replay_path, r, error) ||
      !read_replay_level(r, level, input, level_path, error)) {
    blobdemo_says(error);
    return 1;
  }
  set_level_bytes(std::move(input.bytes), level_path);
  use_data_folders_for_level(level_path, "blobdemo");
  replay_session session;
  session.play(std::move(r));
  int status = game_main(argc, argv, {}, &session);
  if (status != 0) return status;
  blobdemo_says(session.verdict());
  return session.replay_differs() ? 1 : 0;
}
