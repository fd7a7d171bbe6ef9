// One line on standard error from the desktop game, named as its other
// messages are: "blobdemo: ...".
#pragma once

#include <cstdio>
#include <string>

inline void blobdemo_says(const std::string& line) {
  std::fprintf(stderr, "blobdemo: %s\n", line.c_str());
}
