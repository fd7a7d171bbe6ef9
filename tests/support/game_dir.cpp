#include "support/game_dir.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string test_data(const std::string& name) { return std::string(BLOB_TEST_DATA) + "/" + name; }

game_dir::game_dir(bool with_images, const std::string& images) {
  std::string templ = (fs::temp_directory_path() / "blobtest-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
  if (with_images) fs::create_directory_symlink(test_data(images), fs::path(path_) / "images");
  previous_cwd_ = fs::current_path().string();
  fs::current_path(path_);
}

game_dir::~game_dir() {
  std::error_code ignored;
  fs::current_path(previous_cwd_, ignored);
  fs::remove_all(path_, ignored);
}

void game_dir::write_file(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  std::ofstream out(fs::path(path_) / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
