#include <filesystem>
#include <set>

#include "desktop/blobdemo_says.h"
#include "desktop/default_data.h"
#include "files/data_path.h"
#include "files/program_folder.h"

namespace fs = std::filesystem;

namespace {
// Once for level.map and once for images\, however many pictures follow.
void say_taken_beside_program(const std::string& file, const std::string& folder) {
  static std::set<std::string> said;
  std::string what = file.substr(0, file.find('/'));
  if (!said.insert(what).second) return;
  std::string here = fs::current_path().u8string();
  fs::path beside = fs::u8path(folder);
  if (what == "level.map")
    blobdemo_says("level.map is not in " + here +
                  ", the folder the game was started in; it plays "
                  "the one beside the program (" +
                  (beside / "level.map").u8string() + ")");
  else
    blobdemo_says(what + "\\ is not in " + here +
                  ", the folder the game was started in; it shows "
                  "the pictures beside the program (" +
                  (beside / what).u8string() + ")");
}
}  // namespace

void find_default_data() {
  fs::path program = program_folder();
  std::error_code error;
  if (program.empty() || fs::equivalent(fs::current_path(), program, error)) return;
  set_data_folders({"", program.u8string()}, say_taken_beside_program, 0);
}

std::string default_level() {
  find_default_data();
  return host_path("level.map");
}
