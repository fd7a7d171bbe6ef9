// leveltool: makes, inspects and draws the game's level files, with the
// game's own level code (see commands.h for the sub-commands).
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "files/program_name.h"
#include "files/utf8_paths.h"
#include "shell/version.h"
#include "world/object_kinds.h"

int main(int argc, char** argv) {
  set_program_name("leveltool");
  install_blob_demo_kinds();
  use_utf8_arguments(argc, argv);
  if (argc < 2) {
    std::fputs(usage(), stderr);
    return 2;
  }
  if (answered_version(argc, argv, "leveltool")) return 0;
  std::string command = argv[1];
  arguments args(argv + 2, argv + argc);
  if (command == "build") return run_build(args);
  if (command == "dump") return run_dump(args);
  if (command == "check") return run_check(args);
  if (command == "render") return run_render(args);
  if (command == "help" || command == "--help" || command == "-h") {
    std::fputs(usage(), stdout);
    return 0;
  }
  std::fprintf(stderr, "leveltool: unknown command \"%s\"\n%s", command.c_str(), usage());
  return 2;
}
