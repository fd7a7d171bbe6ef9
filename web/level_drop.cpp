// What the page calls when a file is dropped on it. The page has written the
// file into the in-memory file system; if the game can play it, it replaces
// the running level, and otherwise the level keeps running and the page shows
// the one line that says why. A file whose counts add up to its size is a
// level file and is played as it is; one that is named or starts like JSON
// is a level source (the project's JSON or a Tiled map), built with the level
// tool's own readers first; a replay is played (page_replay.h). The page calls this
// between two of the browser's frames, so the world is never replaced in the
// middle of a tick.
#include <emscripten/emscripten.h>

#include <string>
#include <vector>

#include "files/file_bytes.h"
#include "files/said_lines.h"
#include "level/container.h"
#include "level/level_file.h"
#include "level_findings.h"
#include "level_load.h"
#include "page_replay.h"
#include "replay/replay_file.h"
#include "shell/counts_and_lists.h"
#include "shell/game.h"

namespace {
std::string message;

// The level's notes and problems, as the desktop game says them: each on
// the game's screen, and the first of them on the page's line, with how
// many more there are.
std::string findings_said(const std::string& name, const level_input& level) {
  std::vector<std::string> lines = level_finding_lines(name, level);
  for (const std::string& line : lines) say_line(line);
  if (lines.empty()) return "";
  std::string more = lines.size() > 1 ? " (and " + count_of(lines.size() - 1, "more line") +
                                            " at the bottom of the game)"
                                      : "";
  return ". It plays, but " + lines[0] + more;
}

// Plays the level's bytes unless they hold nothing at all.
bool play(level_input level, const std::string& name) {
  std::vector<std::uint8_t>& bytes = level.bytes;
  level_data parsed = parse_level(bytes.data(), bytes.size());
  if (parsed.triangles.empty() && parsed.objects.empty()) {
    message = name + ": the level holds no terrain and no objects";
    return false;
  }
  message = "Playing " + name + ": " + count_of(parsed.triangles.size(), "triangle") + ", " +
            count_of(parsed.objects.size(), "object") + findings_said(name, level);
  record_page_level(bytes, name);
  set_level_bytes(std::move(bytes), name);
  remake_world();
  return true;
}
}  // namespace

// Plays the file at `path` (named `name` on the player's machine). Returns 1
// when it now plays, 0 when it was refused; blob_play_message says which.
extern "C" EMSCRIPTEN_KEEPALIVE int blob_play_dropped(const char* path, const char* name) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(path, bytes, reason)) {
    message = std::string(name) + ": cannot read it: " + reason;
    return 0;
  }
  if (looks_like_replay(bytes)) return play_page_replay(bytes, name, message) ? 1 : 0;
  // The game reads whatever whole records a file's counts allow, but a
  // dropped file whose counts do not add up to its size is most likely not a
  // level at all (a picture, a text file), unless it is named or starts as
  // a level source.
  if (!is_whole_level_file(bytes) && !read_as_level_source(name, bytes)) {
    message = std::string(name) + ": not a level file (its counts do not match its " +
              std::to_string(bytes.size()) + " bytes) and not a level source";
    return 0;
  }
  problem_list problems(name);
  level_input built;
  bool ok = level_input_from_file(name, std::move(bytes), built, problems);
  for (const std::string& note : problems.notes()) say_line(note);
  if (!ok) {
    message = problems_in_one_line(problems);
    return 0;
  }
  return play(std::move(built), name);
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* blob_play_message() { return message.c_str(); }
