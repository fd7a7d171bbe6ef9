#include "shell/named_level.h"

#include <cstdio>

#include "level/container.h"
#include "level/level_file.h"
#include "level_findings.h"
#include "level_load.h"
#include "shell/data_path.h"
#include "shell/file_watch.h"
#include "shell/game.h"
#include "shell/replay_level.h"
#include "shell/replay_session.h"
#include "shell/sha256.h"
#include "shell/wording.h"

namespace {
void say(const std::string& line) { std::fprintf(stderr, "blobdemo: %s\n", line.c_str()); }

// Remakes the world from the level file each time it is saved. A save that
// cannot be played (unreadable, a source that does not build, a level file
// cut short, as one still being written is) leaves the world as it is and
// is reported once, however often the same reason comes back.
class level_reloader {
 public:
  level_reloader(const std::string& path, replay_session* session)
      : path_(path), session_(session), watch_(path) {
    if (!watch_.failure().empty())
      say(path + ": cannot watch it for saves (" + watch_.failure() + "); it will not reload");
  }

  // Between two ticks: one atomic read unless the file was saved.
  void check() {
    if (watch_.saved()) reload();
  }

 private:
  void reload() {
    problem_list problems(path_);
    level_input level;
    bool playable = read_level_input(path_, level, problems);
    std::string why = problems_in_one_line(problems);
    level_data parsed = parse_level(level.bytes.data(), level.bytes.size());
    if (playable && parsed.truncated) {
      playable = false;
      why = path_ + ": the file ends inside a record (is it still being written?)";
    }
    if (!playable) {
      if (why != last_failure_) say(why + "; the level before it plays on");
      last_failure_ = why;
      return;
    }
    last_failure_.clear();
    for (const std::string& note : problems.notes()) say(note);
    for (const std::string& line : level_finding_lines(path_, level)) say(line);
    say(path_ + ": reloaded: " + count_of(parsed.triangles.size(), "triangle") + ", " +
        count_of(parsed.objects.size(), "object"));
    stop_recording();
    set_level_bytes(std::move(level.bytes), path_);
    remake_world();
  }

  // The recording ends with the world it recorded.
  void stop_recording() {
    if (!session_ || !session_->recording()) return;
    session_->stop_recording();
    say("the recording stops here, after tick " + std::to_string(session_->recorded().ticks) +
        ": a replay holds one level, and this is a new one");
  }

  std::string path_;
  replay_session* session_;
  std::string last_failure_;
  file_watch watch_;
};
}  // namespace

int play_named_level(const std::string& path, int argc, char** argv, replay_session* session) {
  problem_list problems(path);
  level_input level;
  bool playable = read_level_input(path, level, problems);
  for (const std::string& note : problems.notes()) say(note);
  if (!playable) {
    say(problems_in_one_line(problems));
    return 1;
  }
  for (const std::string& line : level_finding_lines(path, level)) say(line);
  if (session) session->record(replay_level_path(path), sha256_hex(level.bytes));
  set_level_bytes(std::move(level.bytes), path);
  use_data_folders_for_level(path, "blobdemo");
  level_reloader reloader(path, session);
  return game_main(argc, argv, [&reloader] { reloader.check(); }, session);
}
