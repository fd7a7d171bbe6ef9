// The demo's entry point: everything happens in game_main.
#include <cstdio>
#include <cstring>

#include "shell/game.h"

namespace {
const char* const USAGE =
    "usage: blobdemo [LEVEL]\n"
    "Plays LEVEL, a level file or a level source (the project's JSON or a Tiled map saved as\n"
    "JSON); without it, level.map in the folder it runs in.\n"
    "Keys: Left and Right steer, Up jumps, Down pushes down, Tab passes control to the next\n"
    "blob, Escape quits.\n";

bool asks_for_help(int argc, char** argv) {
  return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}
}  // namespace

int main(int argc, char** argv) {
  if (asks_for_help(argc, argv)) {
    std::fputs(USAGE, stdout);
    return 0;
  }
  return game_main(argc, argv);
}
