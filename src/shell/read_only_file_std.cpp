// Opening for reading with the standard library alone, for a system that
// has no version of its own yet (Windows): what the path names comes from
// std::filesystem, and only a regular file is then opened, with the C
// library. It asks before it opens, so unlike the POSIX version a path
// changed in between is opened as what it has become.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "shell/read_only_file.h"

namespace fs = std::filesystem;

namespace {
file_kind kind_of(fs::file_type type) {
  switch (type) {
    case fs::file_type::regular:
      return file_kind::regular;
    case fs::file_type::directory:
      return file_kind::folder;
    case fs::file_type::fifo:
      return file_kind::pipe;
    case fs::file_type::character:
    case fs::file_type::block:
      return file_kind::device;
    default:
      return file_kind::other;
  }
}

std::FILE* file_of(std::intptr_t handle) { return reinterpret_cast<std::FILE*>(handle); }
}  // namespace

read_only_file::read_only_file(const std::string& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (error) {
    failure_ = error.message();
    return;
  }
  kind_ = kind_of(status.type());
  if (kind_ == file_kind::regular) size_ = fs::file_size(path, error);
  std::FILE* file = kind_ == file_kind::regular ? std::fopen(path.c_str(), "rb") : nullptr;
  if (kind_ == file_kind::regular && !file) {
    failure_ = std::strerror(errno);
    return;
  }
  if (file) handle_ = reinterpret_cast<std::intptr_t>(file);
}

read_only_file::~read_only_file() {
  if (handle_ != -1) std::fclose(file_of(handle_));
}

long long read_only_file::read(void* into, std::size_t count) {
  if (handle_ == -1) {
    failure_ = "it cannot be read here";
    return -1;
  }
  std::size_t got = std::fread(into, 1, count, file_of(handle_));
  if (got == 0 && std::ferror(file_of(handle_))) {
    failure_ = "read error";
    return -1;
  }
  return static_cast<long long>(got);
}
