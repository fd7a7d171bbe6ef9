#include "shell/data_path.h"

std::string host_path(const char* game_path) {
  std::string path(game_path ? game_path : "");
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}
