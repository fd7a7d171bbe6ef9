// blobrun: runs a level without a window, stepping but not drawing, with key
// presses read from a script, and prints the state as text. For level
// designers who want to see what a scripted run does, and for the
// determinism tests, which compare its output with stored dumps.
//
//   blobrun LEVEL.map EVENTS.txt TICKS [--final]
//
// Each tick is the game's step pass over every object in list order, then
// that tick's key events handed to every object as the game's event pass
// does. The state is printed after every tick, or after the last one only
// with --final. A key-down of Escape ends the run after its tick.
#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "key_script.h"
#include "level/container.h"
#include "level/terrain.h"
#include "shell/data_path.h"
#include "shell/file_bytes.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/view.h"
#include "state_dump.h"

namespace {
constexpr const char* PROGRAM = "blobrun";
constexpr const char* USAGE = "usage: blobrun LEVEL.map EVENTS.txt TICKS [--final]";
constexpr const char* ABOUT =
    "Runs the level for TICKS ticks without a window, with the key presses that EVENTS.txt\n"
    "gives by tick, and prints the state of every object after each tick (after the last\n"
    "one only, with --final). Exit status: 0 done, 2 on an error (one line on standard\n"
    "error).\n";

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
    error = std::string("TICKS '") + argv[3] + "' is not a whole number from 1 up";
    return false;
  }
  return true;
}

// The game runs on with an empty world when its level is missing; a
// designer running a script wants to hear about it instead.
bool level_readable(const char* level, std::string& error) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (read_file_bytes(host_path(level), bytes, reason)) return true;
  error = "cannot read the level: " + reason + " (" + level + ")";
  return false;
}

// Exactly the game's start-up, minus the window (so no pictures are loaded):
// the level object loads the level and makes every object, then the view
// starts centred on the origin.
void load_level(const char* level) {
  set_level_file(level);
  instance_create(0, 0, TYPE_CONTAINER);
  view_x -= WINDOW_WIDTH / 2;
  view_y -= WINDOW_HEIGHT / 2;
}

SDL_Event key_sdl_event(const key_event& k) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = k.down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = k.down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(k.key);
  return event;
}

// Returns the number of the last tick run (earlier than options.ticks when
// Escape ended the run).
long run(const run_options& options, const key_script& script) {
  std::size_t next_event = 0;
  for (long tick = 1; tick <= options.ticks; ++tick) {
    step_pass();
    bool quit = false;
    for (; next_event < script.events.size() && script.events[next_event].tick == tick;
         ++next_event)
      if (dispatch_event(key_sdl_event(script.events[next_event]))) quit = true;
    if (!options.final_only) dump_state(stdout, tick);
    if (quit) return tick;
  }
  return options.ticks;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s\n%s", USAGE, ABOUT);
    return 0;
  }
  run_options options;
  std::string error;
  if (!parse_options(argc, argv, options, error)) return fail(error);
  key_script script;
  if (!read_key_script(options.events, script, error)) return fail(error);
  if (!level_readable(options.level, error)) return fail(error);
  load_level(options.level);
  long last = run(options, script);
  if (options.final_only) dump_state(stdout, last);
  destroy_all_instances();
  freeCollisions();
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return fail(std::string("cannot write the dump: ") + std::strerror(errno) +
                " (standard output)");
  return 0;
}
