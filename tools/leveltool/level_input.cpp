#include "level_input.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

std::string kind_text(level_input_kind kind) {
  switch (kind) {
    case level_input_kind::level_file:
      return "a level file";
    case level_input_kind::project_source:
      return "a level source (the project's JSON)";
    case level_input_kind::tiled_map:
      return "a level source (a Tiled map)";
  }
  return "a level file";
}

temporary_level_file::~temporary_level_file() {
  if (!path_.empty()) std::remove(path_.c_str());
}

bool temporary_level_file::write(const std::vector<std::uint8_t>& bytes, std::string& why) {
  std::error_code error;
  std::string templ = (std::filesystem::temp_directory_path(error) / "leveltool-XXXXXX").string();
  int fd = mkstemp(templ.data());
  if (fd < 0) {
    why = "cannot make a temporary file for the built level: " + std::string(std::strerror(errno));
    return false;
  }
  path_ = templ;
  FILE* out = fdopen(fd, "wb");
  bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (!out) close(fd);
  if (out && std::fclose(out) != 0) written = false;
  if (!written) why = "cannot write the built level to " + path_ + ": " + std::strerror(errno);
  return written;
}
