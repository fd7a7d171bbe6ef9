// The demo's entry point: everything happens in game_main.
#include "shell/game.h"

int main(int argc, char** argv) { return game_main(argc, argv); }
