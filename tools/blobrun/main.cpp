// blobrun: runs a level without a window, stepping but not drawing, with key
// presses read from a script, and prints the state as text. For level
// designers who want to see what a scripted run does, and for the
// determinism tests, which compare its output with stored dumps.
//
//   blobrun LEVEL.map EVENTS.txt TICKS [--final]
//   blobrun --replay REPLAY [LEVEL]
//
// The level is read as the game reads one: a level file, or a level source
// built in memory.
// Each tick is the game's step pass over every object in list order, then
// that tick's key events handed to every object as the game's event pass
// does. The state is printed after every tick, or after the last one only
// with --final. A key-down of Escape ends the run after its tick. A replay
// is run for its ticks, its state hashes checked instead of printed.
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/data_path.h"
#include "files/file_bytes.h"
#include "files/program_name.h"
#include "files/utf8_paths.h"
#include "level/container.h"
#include "level/source/level_load.h"
#include "level/source/replay_level.h"
#include "level/terrain.h"
#include "replay/key_script.h"
#include "replay/replay_check.h"
#include "replay/state_dump.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/version.h"
#include "shell/view.h"
#include "world/object_kinds.h"

namespace {
constexpr const char* PROGRAM = "blobrun";
constexpr const char* USAGE =
    "usage: blobrun LEVEL.map EVENTS.txt TICKS [--final], or blobrun --replay REPLAY [LEVEL]";
constexpr const char* ABOUT =
    "Runs the level for TICKS ticks without a window, with the key presses that EVENTS.txt\n"
    "gives by tick, and prints the state of every object after each tick (after the last\n"
    "one only, with --final). The level is a level file or a level source (.json, .tmj),\n"
    "built in memory as the game builds it. Exit status: 0 done, 2 on an error (one line\n"
    "on standard error).\n"
    "With --replay, runs a replay that `blobdemo --record` wrote, on the level it names or on\n"
    "LEVEL, and checks every state hash in it: exit status 0 and \"replay matches: N ticks\"\n"
    "when all match, 1 naming the first that differs and the last that matched, 2 on an\n"
    "error or a level other than the replay's (its SHA-256 differs).\n";

struct run_options {
  const char* level = nullptr;
  const char* events = nullptr;
  long ticks = 0;
  bool final_only = false;
};

int fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", PROGRAM, message.c_str());
  return 2;
}

bool parse_options(int argc, char** argv, run_options& options, std::string& error) {
  if (argc != 4 && argc != 5) {
    error = USAGE;
    return false;
  }
  if (argc == 5 && std::strcmp(argv[4], "--final") != 0) {
    error = std::string("unknown option '") + argv[4] + "'; " + USAGE;
    return false;
  }
  options.level = argv[1];
  options.events = argv[2];
  options.final_only = argc == 5;
  if (!parse_tick(argv[3], options.ticks)) {
    error = std::string("TICKS '") + argv[3] + "' " + tick_problem(argv[3]);
    return false;
  }
  return true;
}

// Reads the level once, as the game reads one named on its command line: a
// level file as it is, a level source built in memory. The game runs on
// with an empty world when its level is missing; a designer running a
// script wants to hear about it instead.
bool read_level(const char* level, std::string& error) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!read_file_bytes(host_path(level), bytes, reason)) {
    error = "cannot read the level: " + reason + " (" + level + ")";
    return false;
  }
  problem_list problems(level);
  level_input input;
  bool built = level_input_from_file(level, std::move(bytes), input, problems);
  for (const std::string& note : problems.notes())
    std::fprintf(stderr, "%s: %s\n", PROGRAM, note.c_str());
  if (!built) {
    error = problems_in_one_line(problems);
    return false;
  }
  set_level_bytes(std::move(input.bytes), level);
  return true;
}

// Returns the number of the last tick run (earlier than options.ticks when
// Escape ended the run), or 0 when a tick's state could not be written:
// a reader that went away (a pipe closed by `head`, with SIGPIPE ignored)
// or a full disk stops the run at once rather than at its end.
long run(const run_options& options, const key_script& script) {
  std::size_t next_event = 0;
  for (long tick = 1; tick <= options.ticks; ++tick) {
    step_pass();
    bool quit = false;
    for (; next_event < script.events.size() && script.events[next_event].tick == tick;
         ++next_event)
      if (dispatch_event(sdl_key_event(script.events[next_event]))) quit = true;
    if (!options.final_only) {
      dump_state(stdout, tick);
      if (std::ferror(stdout)) return 0;
    }
    if (quit) return tick;
  }
  return options.ticks;
}

// Runs the replay's ticks with its keys, holding each state to its hashes,
// up to its last tick or its own Escape, which ended the game it recorded.
// Stops at the first state that differs: 0 all matched, 1 one differed.
int run_replay(const replay& r) {
  replay_check check(r, REPLAY_PROGRAM);
  std::size_t next_event = 0;
  long tick = 1;
  for (bool quit = false; tick <= r.ticks && !quit; ++tick) {
    step_pass();
    for (; next_event < r.events.size() && r.events[next_event].tick == tick; ++next_event)
      if (dispatch_event(sdl_key_event(r.events[next_event]))) quit = true;
    if (!check.after_tick(tick)) break;
  }
  std::printf("%s\n", check.verdict(tick - 1).c_str());
  return check.differs() ? 1 : 0;
}

int replay_command(int argc, char** argv) {
  if (argc != 3 && argc != 4) return fail(USAGE);
  replay r;
  std::string error, path;
  if (!read_replay(argv[2], r, error)) return fail(error);
  level_input level;
  if (!read_replay_level(r, argc == 4 ? argv[3] : "", level, path, error)) return fail(error);
  set_level_bytes(std::move(level.bytes), path);
  make_world();
  int status = run_replay(r);
  destroy_all_instances();
  freeCollisions();
  return status;
}
}  // namespace

int main(int argc, char** argv) {
  set_program_name("blobrun");
  install_blob_demo_kinds();
  use_utf8_arguments(argc, argv);
  if (answered_version(argc, argv, "blobrun")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s\n%s", USAGE, ABOUT);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--replay") == 0) return replay_command(argc, argv);
  run_options options;
  std::string error;
  if (!parse_options(argc, argv, options, error)) return fail(error);
  key_script script;
  if (!read_key_script(options.events, script, error)) return fail(error);
  if (!read_level(options.level, error)) return fail(error);
  make_world();
  long last = run(options, script);
  bool written = last > 0;
  int reason = written ? 0 : errno;
  if (written && options.final_only) dump_state(stdout, last);
  if (written && (std::fflush(stdout) != 0 || std::ferror(stdout))) written = false, reason = errno;
  destroy_all_instances();
  freeCollisions();
  if (!written)
    return fail(std::string("cannot write the dump: ") + std::strerror(reason ? reason : EIO) +
                " (standard output)");
  return 0;
}
