// The browser's entry point. The game's loop sleeps between ticks by handing
// control back to the browser, so by the time game_main returns the browser
// no longer waits on main, and its return value would reach no one: the exit
// is made explicit, which runs the exit handlers and tells the page.
#include <emscripten/emscripten.h>

#include "shell/game.h"

int main(int argc, char** argv) { emscripten_force_exit(game_main(argc, argv)); }
