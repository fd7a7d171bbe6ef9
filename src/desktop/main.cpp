// The demo's entry point. Without an argument the game plays ./level.map
// with the pictures in ./images/; with one it plays the level named. It
// records a session into a replay file, or shows one.
#include <cstdio>
#include <string>

#include "desktop/command_line_level.h"
#include "desktop/default_data.h"
#include "desktop/recorded_play.h"
#include "files/program_name.h"
#include "files/utf8_paths.h"
#include "shell/game.h"
#include "shell/output_files.h"
#include "shell/screen_messages.h"
#include "shell/version.h"
#include "world/object_kinds.h"

namespace {
const char* const USAGE =
    "usage: blobdemo [LEVEL]\n"
    "       blobdemo --help | --version\n"
    "       blobdemo --record REPLAY [LEVEL]\n"
    "       blobdemo --replay REPLAY [LEVEL]\n"
    "Plays LEVEL, a level file or a level source (the project's JSON or a Tiled map saved as\n"
    "JSON, built as `leveltool build` builds it); without it, level.map in the folder it runs\n"
    "in. Each picture comes from images/ beside LEVEL when that holds it, else from the game's\n"
    "own data. Saving LEVEL while the game runs shows the new level.\n"
    "--record plays as usual and, when the game ends (Escape, Ctrl-C or kill), writes the\n"
    "session to REPLAY: its keys tick by tick and hashes of the state, for `blobrun --replay`\n"
    "to check. A save of LEVEL while recording ends the recording there (a replay holds one\n"
    "level); the game plays on.\n"
    "--replay shows REPLAY at the game's pace on the level it names, or on LEVEL, which must\n"
    "be the same level; the keyboard only ends it (Escape). It then says whether every state\n"
    "matched the replay's.\n"
    "Keys: Left and Right steer, Up jumps, Down pushes down, Tab passes control to the next\n"
    "blob, Escape quits.\n";

int usage_error(const std::string& problem) {
  std::fprintf(stderr, "blobdemo: %s\n%s", problem.c_str(), USAGE);
  return 2;
}

bool is_option(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// --record and --replay: REPLAY and an optional LEVEL, neither an option.
int replay_command(const std::string& option, int argc, char** argv) {
  if (argc < 3 || argc > 4) return usage_error(option + " takes a replay file and at most a level");
  std::string replay = argv[2], level = argc == 4 ? argv[3] : "";
  if (is_option(replay) || is_option(level))
    return usage_error("unknown option " + (is_option(replay) ? replay : level));
  if (option == "--record")
    return record_session(replay, level.empty() ? "level.map" : level, argc, argv);
  return show_replay(replay, level, argc, argv);
}
}  // namespace

int main(int argc, char** argv) {
  show_said_lines_on_screen();
  set_program_name("blobdemo");
  install_blob_demo_kinds();
  open_output_files();
  use_utf8_arguments(argc, argv);
  if (argc == 1) {
    find_default_data();
    return game_main(argc, argv);
  }
  if (answered_version(argc, argv, "blobdemo")) return 0;
  std::string first = argv[1];
  if (first == "--help" || first == "-h") {
    std::fputs(USAGE, stdout);
    return 0;
  }
  if (first == "--record" || first == "--replay") return replay_command(first, argc, argv);
  if (argc > 2 || is_option(first))
    return usage_error(argc > 2 ? "give one level at most" : "unknown option " + first);
  return play_command_line_level(first, argc, argv);
}
