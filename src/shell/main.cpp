// The demo's entry point. Without an argument the game plays ./level.map
// with the pictures in ./images/; with one it plays the level named.
#include <cstdio>
#include <string>

#include "shell/game.h"
#include "shell/named_level.h"

namespace {
const char* const USAGE =
    "usage: blobdemo [LEVEL]\n"
    "Plays LEVEL, a level file or a level source (the project's JSON or a Tiled map saved as\n"
    "JSON, built as `leveltool build` builds it); without it, level.map in the folder it runs\n"
    "in. Pictures come from images/ beside LEVEL, else from the game's own data. Saving LEVEL\n"
    "while the game runs shows the new level.\n"
    "Keys: Left and Right steer, Up jumps, Down pushes down, Tab passes control to the next\n"
    "blob, Escape quits.\n";
}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return game_main(argc, argv);
  std::string first = argv[1];
  if (first == "--help" || first == "-h") {
    std::fputs(USAGE, stdout);
    return 0;
  }
  if (argc > 2 || (first.size() > 1 && first[0] == '-')) {
    std::fprintf(stderr, "blobdemo: %s\n%s",
                 argc > 2 ? "give one level at most" : ("unknown option " + first).c_str(), USAGE);
    return 2;
  }
  return play_named_level(first, argc, argv);
}
