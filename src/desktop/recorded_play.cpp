#include "desktop/recorded_play.h"

#include <filesystem>

#include "desktop/blobdemo_says.h"
#include "desktop/command_line_level.h"
#include "desktop/recording_file.h"
#include "files/data_path.h"
#include "files/utf8_paths.h"
#include "level/container.h"
#include "level/source/replay_level.h"
#include "replay/replay_file.h"
#include "replay/replay_session.h"
#include "shell/counts_and_lists.h"
#include "shell/game.h"
#include "shell/screen_messages.h"
#include "shell/stop_signal.h"

namespace {
bool same_file(const std::string& a, const std::string& b) {
  std::error_code failure;
  return std::filesystem::equivalent(file_path(a), file_path(b), failure);
}

// A replay shown in the game, then, once it has run its course, its
// verdict on screen for as long as a line shows there, the world going on
// without keys; Escape ends that sooner. A replay stopped by Escape ends at
// once.
class replay_then_verdict : public key_source {
 public:
  explicit replay_then_verdict(replay_session& session) : session_(session) {}

  bool event_pass() override {
    if (ticks_left_ < 0) return replay_pass();
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) quit = true;
    return quit || --ticks_left_ <= 0 || stop_signal_received();
  }

  bool said() const { return said_; }

 private:
  bool replay_pass() {
    if (!session_.event_pass()) return false;
    std::string verdict = session_.verdict();
    blobdemo_says(verdict);
    said_ = true;
    if (verdict.rfind("replay stopped", 0) == 0) return true;
    ticks_left_ = screen_message_list::LIFE_TICKS;
    return false;
  }

  replay_session& session_;
  long ticks_left_ = -1;  // -1 while the replay plays
  bool said_ = false;
};
}  // namespace

// What would only fail after the game is found out before it: the replay's
// file is made at once (a folder, a device, a folder that does not exist or
// cannot be written are refused), and written as the game goes.
int record_session(const std::string& replay_path, const std::string& level, int argc,
                   char** argv) {
  replay_session session;
  recording_file file(replay_path, session);
  std::string why = same_file(replay_path, level) ? "it is the level being played" : "";
  if (!why.empty() || !file.open(why)) {
    blobdemo_says("cannot record to " + replay_path + ": " + why);
    return 1;
  }
  end_game_on_stop_signals();
  int status = play_command_line_level(level, argc, argv, &session, replay_path,
                                       [&file] { file.check(); });
  const replay& recorded = session.recorded();
  if (recorded.ticks == 0) return status;  // the level or the window failed
  if (!file.finish(recorded, why)) {
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
  replay_then_verdict shown(session);
  int status = game_main(argc, argv, {}, &shown);
  if (status != 0) return status;
  if (!shown.said()) blobdemo_says(session.verdict());
  return session.replay_differs() ? 1 : 0;
}
