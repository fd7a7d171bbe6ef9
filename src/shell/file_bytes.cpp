#include "shell/file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// A folder opens for reading like a file but yields no bytes: say what it is
// rather than that reading it failed.
bool is_directory(FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}
}  // namespace

bool read_file_bytes(const std::string& path, std::vector<std::uint8_t>& out, std::string& reason) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  if (is_directory(file)) {
    std::fclose(file);
    reason = "it is a folder, not a file";
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
