#include "shell/data_path.h"

#include <filesystem>

#include "shell/program_folder.h"

namespace fs = std::filesystem;

namespace {
std::string data_folder;

bool has_images(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder / "images", error);
}
}  // namespace

std::string host_path(const char* game_path) {
  std::string path(game_path ? game_path : "");
  for (char& c : path)
    if (c == '\\') c = '/';
  if (data_folder.empty() || path.empty() || fs::path(path).has_root_path()) return path;
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  return data_folder + "/" + path;
}

void set_data_folder(const std::string& folder) { data_folder = folder; }

// An installed program lives a level or two below the prefix (bin/ for the
// tools, libexec/blobdemo/ for the game), and the data under the prefix. On
// Windows the data lies beside the program (the installed data folder is
// ".").
std::string shipped_data_folder() {
  constexpr int PREFIX_DEPTH_MAX = 3;
  fs::path folder = program_folder();
  for (int up = 0; up < PREFIX_DEPTH_MAX && folder.has_relative_path(); ++up) {
    if (has_images(folder / BLOB_INSTALLED_DATA_DIR))
      return (folder / BLOB_INSTALLED_DATA_DIR).string();
    folder = folder.parent_path();
  }
  return has_images(BLOB_CHECKOUT_DATA_DIR) ? BLOB_CHECKOUT_DATA_DIR : "";
}

std::string data_folder_for_level(const std::string& level_path) {
  std::error_code error;
  fs::path folder = fs::absolute(level_path, error).parent_path();
  return has_images(folder) ? folder.string() : shipped_data_folder();
}
