// Where the game looks for its files: in the data folders first to last, a
// file taken from the first that holds it and its origin told once, else
// named in the last one, where it is then missing.
#include "files/data_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
std::vector<std::string> told;
void tell(const std::string& file, const std::string& folder) {
  told.push_back(file + " @ " + folder);
}
}  // namespace

TEST(DataPath, EachFileFromTheFirstFolderThatHoldsIt) {
  fs::path top = fs::temp_directory_path() / ("blob-data-path-" + std::to_string(::getpid()));
  std::string level = (top / "level").string(), game = (top / "game").string();
  fs::create_directories(top / "level/images/font.png");  // a folder, not a picture
  fs::create_directories(top / "game/images");
  std::ofstream(top / "level/images/crate.jpg") << "x";

  told.clear();
  set_data_folders({level, game}, tell);
  EXPECT_EQ(host_path(".\\images\\crate.jpg"), level + "/images/crate.jpg");
  EXPECT_EQ(host_path("./images/crate.jpg"), level + "/images/crate.jpg");
  EXPECT_EQ(host_path(".\\images\\font.png"), game + "/images/font.png");
  EXPECT_EQ(host_path(".\\images\\mouth.png"), game + "/images/mouth.png")
      << "missing: named there";
  EXPECT_EQ(host_path("/abs/x.png"), "/abs/x.png");
  EXPECT_EQ(told, std::vector<std::string>{"images/crate.jpg @ " + level}) << "told once";
  EXPECT_EQ(
      data_origin_line("images/crate.jpg", level),
      "picture images/crate.jpg taken from beside the level (" + level + "/images/crate.jpg)");

  set_data_folders({level, ""});  // no game data found: the working folder
  EXPECT_EQ(host_path(".\\images\\mouth.png"), "images/mouth.png");
  set_data_folder("");
  EXPECT_EQ(host_path(".\\level.map"), "./level.map") << "the working folder, as the game names it";
  fs::remove_all(top);
}
