// Opening without waiting on POSIX systems (and Emscripten's file system):
// O_NONBLOCK makes open() return at once even for a pipe that has no writer
// yet; fstat then says what was opened, and the flag is cleared again so
// that reads wait as usual.
//
// A named pipe opened that way reads as ended until a writer comes, and
// opening it again to wait would miss a writer that came and went in
// between. poll() tells both apart: it waits until the pipe holds bytes or
// a writer has closed it, counting only writers that came after the open.
#include "files/read_only_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
file_kind kind_of(mode_t mode) {
  if (S_ISREG(mode)) return file_kind::regular;
  if (S_ISDIR(mode)) return file_kind::folder;
  if (S_ISFIFO(mode)) return file_kind::pipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return file_kind::device;
  return file_kind::other;
}

// Until the pipe holds bytes or its writer has gone; false, with the reason
// in `failure`, when poll() fails.
bool wait_until_readable(int fd, std::string& failure) {
  pollfd ready{fd, POLLIN, 0};
  for (;;) {
    if (poll(&ready, 1, -1) >= 0) return true;
    if (errno == EINTR) continue;
    failure = std::strerror(errno);
    return false;
  }
}
}  // namespace

read_only_file::read_only_file(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0) {
    failure_ = std::strerror(errno);
    if (fd >= 0) close(fd);
    return;
  }
  handle_ = fd;
  kind_ = kind_of(info.st_mode);
  size_ = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  int flags = fcntl(fd, F_GETFL);
  if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

read_only_file::~read_only_file() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

long long read_only_file::read(void* into, std::size_t count) {
  if (kind_ == file_kind::pipe && !writer_seen_) {
    writer_seen_ = true;
    if (!wait_until_readable(static_cast<int>(handle_), failure_)) return -1;
  }
  for (;;) {
    ssize_t got = ::read(static_cast<int>(handle_), into, count);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    failure_ = std::strerror(errno);
    return -1;
  }
}
