// The pictures a designer puts beside a level under a name the game does not
// read: each near miss is said once, naming the picture it misses, and
// nothing is said of other files or of pictures that images/ holds.
#include "shell/game_pictures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(GamePictures, NearMissesBesideALevelAreNamed) {
  fs::path folder = fs::temp_directory_path() / ("near_misses_" + std::to_string(::getpid()));
  fs::create_directories(folder / "images");
  for (const char* name :
       {"images/Tex_snow.png", "images/crate.png", "images/mouht.png", "images/font.png",
        "images/FONT.PNG", "images/notes.txt", "images/portrait.jpg", "hud_Portrait.png",
        "eyes.bmp", "snowman.png", "font.ttf", "level.json", "crate.jpg"})
    std::ofstream(folder / name) << "x";
  fs::create_directory(folder / "mouth.png");  // a folder is no picture
  std::vector<std::string> expected;
  auto missed = [&expected](const std::string& name, const std::string& picture) {
    expected.push_back(name +
                       " beside the level is not read: the game reads that picture only "
                       "as images/" +
                       picture +
                       " (PNG, JPEG or BMP, whatever the name "
                       "ends in)");
  };
  // images/ in name order (FONT.PNG is not said: images/font.png is there),
  // then the level's own folder.
  missed("images/Tex_snow.png", "tex_snow.png");
  missed("images/crate.png", "crate.jpg");
  missed("images/mouht.png", "mouth.png");
  missed("images/portrait.jpg", "hud_Portrait.png");
  missed("crate.jpg", "crate.jpg");
  missed("eyes.bmp", "eyes_anx.png");
  missed("hud_Portrait.png", "hud_Portrait.png");
  EXPECT_EQ(picture_name_near_misses(folder.u8string()), expected);

  // Once images/ holds a picture under its own name, its near misses are not said.
  std::ofstream(folder / "images/crate.jpg") << "x";
  std::vector<std::string> notes = picture_name_near_misses(folder.u8string());
  EXPECT_EQ(notes.size(), expected.size() - 2);
  fs::remove_all(folder);
  EXPECT_TRUE(picture_name_near_misses(folder.u8string()).empty()) << "a folder that is not there";
}
