// The browser's entry point. The game's loop sleeps between ticks by handing
// control back to the browser, so by the time game_main returns the browser
// no longer waits on main, and its return value would reach no one: the exit
// is made explicit, which runs the exit handlers and tells the page. The
// session is recorded (page_replay.h), and the replay left for the page.
#include <emscripten/emscripten.h>

#include "level/container.h"
#include "page_replay.h"
#include "shell/file_bytes.h"
#include "shell/game.h"

int main(int argc, char** argv) {
  std::vector<std::uint8_t> level;
  std::string reason;
  if (read_file_bytes("level.map", level, reason)) {
    record_page_level(level, "level.map");
    set_level_bytes(std::move(level), "level.map");
  }
  int status = game_main(argc, argv, {}, page_keys());
  finish_page_session();
  emscripten_force_exit(status);
}
