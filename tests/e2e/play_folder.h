// A scratch folder for one run of the game, removed with everything in it:
// optionally the game's real pictures (a link to them) and a level.map.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct play_folder {
  std::filesystem::path path;
  play_folder(bool images, const std::vector<std::uint8_t>* level);
  ~play_folder();
  play_folder(const play_folder&) = delete;
  play_folder& operator=(const play_folder&) = delete;
};
