// A scratch folder laid out like the game's data folder: the tests' pictures
// under images/ and whatever level.map a test writes. The process works in it
// while the object lives, since the game opens its files relative to the
// working folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class game_dir {
 public:
  // with_images: link images/ to the tests' pictures, those of
  // tests/data/`images`; otherwise leave it out.
  explicit game_dir(bool with_images = true, const std::string& images = "images");
  ~game_dir();
  game_dir(const game_dir&) = delete;
  game_dir& operator=(const game_dir&) = delete;

  const std::string& path() const { return path_; }
  void write_file(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::string path_;
  std::string previous_cwd_;
};

// Path of a file under tests/data.
std::string test_data(const std::string& name);
