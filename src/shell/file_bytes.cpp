#include "shell/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool read_file_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  out.clear();
  std::uint8_t chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    out.insert(out.end(), chunk, chunk + got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) reason = "read error";
  return !failed;
}
