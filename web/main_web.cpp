// The browser's entry point and loop. The browser calls `frame` once for
// each frame it shows (requestAnimationFrame); each call runs the 17 ms
// ticks owed by then, as the desktop's loop would, and draws only the last
// of them: a frame the browser never shows is not worth drawing, and the
// simulation does not depend on drawing. A hidden tab gets no frames, so
// the game pauses; the pacer drops the time it was away (pacing.h). The
// session is recorded (page_replay.h), and the replay left for the page.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "files/file_bytes.h"
#include "files/program_name.h"
#include "level/container.h"
#include "page_replay.h"
#include "shell/game.h"
#include "shell/object.h"
#include "shell/pacing.h"
#include "shell/screen_messages.h"
#include "world/object_kinds.h"

namespace {
game_session session;
frame_pacer* pacer = nullptr;
unsigned ticks_run = 0;

// Browsers that still hand a hidden tab the odd frame: run nothing then.
bool tab_hidden() {
  EmscriptenVisibilityChangeEvent status;
  return emscripten_get_visibility_status(&status) == EMSCRIPTEN_RESULT_SUCCESS && status.hidden;
}

// Runs `due` ticks; only the last is drawn. True when the game ends.
bool run_ticks(int due) {
  bool quit = false;
  for (int k = 0; k < due && !quit; ++k) {
    ++ticks_run;
    if (k + 1 < due) {
      age_screen_messages();
      step_pass();
      quit = page_keys()->event_pass();
    } else {
      quit = run_tick(session.portrait, page_keys());
    }
  }
  return quit;
}

void frame() {
  if (tab_hidden()) return;
  std::uint32_t now = SDL_GetTicks();
  int due = 0;
  while (pacer->tick_due(now)) ++due;
  if (!run_ticks(due)) return;
  // Ending runs the exit handlers and tells the page, which offers to start
  // again and the replay of the session.
  emscripten_cancel_main_loop();
  end_game(session);
  finish_page_session();
  emscripten_force_exit(0);
}
}  // namespace

// Ticks run so far: the browser test tells frames apart by it.
extern "C" EMSCRIPTEN_KEEPALIVE unsigned blob_ticks_run() { return ticks_run; }

int main(int argc, char** argv) {
  show_said_lines_on_screen();
  set_program_name("blobdemo");
  install_blob_demo_kinds();
  std::vector<std::uint8_t> level;
  std::string reason;
  if (read_file_bytes("level.map", level, reason)) {
    record_page_level(level, "level.map");
    set_level_bytes(std::move(level), "level.map");
  }
  if (!start_game(&argc, argv, session)) emscripten_force_exit(1);
  static frame_pacer started(SDL_GetTicks());
  pacer = &started;
  emscripten_set_main_loop(frame, 0, 1);  // 0: once per frame the browser shows
}
