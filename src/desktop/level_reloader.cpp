#include "desktop/level_reloader.h"

#include <filesystem>

#include "desktop/background_work.h"
#include "desktop/blobdemo_says.h"
#include "files/utf8_paths.h"
#include "level/container.h"
#include "level/level_file.h"
#include "level/source/level_findings.h"
#include "level/source/level_load.h"
#include "replay/replay_session.h"
#include "shell/counts_and_lists.h"
#include "shell/game.h"

namespace {
// Reads `path` (named `name` in messages) and builds it. Touches nothing
// the game's loop uses, so it runs on a thread of its own.
built_level build_level(const std::string& path, const std::string& name) {
  problem_list problems(name);
  level_input level;
  built_level built;
  built.playable = read_level_input(path, level, problems);
  built.why = problems_in_one_line(problems);
  built.notes = problems.notes();
  level_data parsed = parse_level(level.bytes.data(), level.bytes.size());
  if (built.playable && parsed.truncated) {
    built.playable = false;
    built.why = name + ": the file ends inside a record (is it still being written?)";
  }
  built.triangles = parsed.triangles.size();
  built.objects = parsed.objects.size();
  built.level = std::move(level);
  return built;
}

// The path from the root: the working folder may be removed and made again
// while the game runs, and the level is then found by its whole path.
std::string absolute_path(const std::string& path) {
  std::error_code unknown;
  std::filesystem::path whole = std::filesystem::absolute(file_path(path), unknown);
  return unknown ? path : whole.string();
}
}  // namespace

level_reloader::level_reloader(const std::string& path, replay_session* session)
    : name_(path), path_(absolute_path(path)), session_(session), watch_(path) {
  if (!watch_.failure().empty())
    blobdemo_says(name_ + ": cannot watch it for saves (" + watch_.failure() +
                  "); it will not reload");
}

// The findings of a level replaced meanwhile are dropped with its future.
void level_reloader::examine(level_input level) {
  findings_ = in_background(
      [name = name_, level = std::move(level)] { return level_finding_lines(name, level); });
}

void level_reloader::check() {
  if (watch_.folder_gone() != said_gone_) say_folder_news();
  if (watch_.saved()) wanted_ = true;
  if (work_done(build_)) swap_in(build_.get());
  if (wanted_ && !build_.valid()) {
    wanted_ = false;
    build_ = in_background([path = path_, name = name_] { return build_level(path, name); });
  }
  if (work_done(findings_))
    for (const std::string& line : findings_.get()) blobdemo_says(line);
}

void level_reloader::say_folder_news() {
  said_gone_ = !said_gone_;
  blobdemo_says(said_gone_
                    ? name_ +
                          ": its folder is gone; the level plays on, and the folder is looked "
                          "for once a second"
                    : name_ + ": its folder is back; saves show again");
}

void level_reloader::swap_in(built_level built) {
  if (!built.playable) {
    if (built.why != last_failure_) blobdemo_says(built.why + "; the level before it plays on");
    last_failure_ = built.why;
    return;
  }
  last_failure_.clear();
  for (const std::string& note : built.notes) blobdemo_says(note);
  blobdemo_says(name_ + ": reloaded: " + count_of(built.triangles, "triangle") + ", " +
                count_of(built.objects, "object"));
  stop_recording();
  set_level_bytes(built.level.bytes, name_);
  remake_world();
  examine(std::move(built.level));
}

// The recording ends with the world it recorded.
void level_reloader::stop_recording() {
  if (!session_ || !session_->recording()) return;
  session_->stop_recording();
  blobdemo_says("the recording stops here, after tick " +
                std::to_string(session_->recorded().ticks) +
                ": a replay holds one level, and this is a new one");
}
