#include "e2e/play_folder.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace fs = std::filesystem;

play_folder::play_folder(bool images, const std::vector<std::uint8_t>* level) {
  static int made = 0;
  path = fs::temp_directory_path() /
         ("blob-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
  fs::create_directories(path);
  if (images) fs::create_directory_symlink(BLOB_GAME_IMAGES, path / "images");
  if (level) {
    std::ofstream out(path / "level.map", std::ios::binary);
    out.write(reinterpret_cast<const char*>(level->data()),
              static_cast<std::streamsize>(level->size()));
  }
}

play_folder::~play_folder() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}
