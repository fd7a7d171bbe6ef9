#include "files/whole_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/link_target.h"
#include "files/read_only_file.h"

namespace {
std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string error_text() { return std::strerror(errno); }

int fd_of(std::intptr_t handle) { return static_cast<int>(handle); }

file_kind kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return file_kind::folder;
  if (S_ISFIFO(mode)) return file_kind::pipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return file_kind::device;
  return file_kind::other;
}

bool write_all(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;  // no progress and no reason: do not loop for ever
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// mkstemp makes the file readable by its owner only. A file it replaces
// keeps its permissions (and, where the system lets the writer, its owner);
// a new one gets what any other new file would, and its owner keeps reading
// and writing it whatever the mask says.
void set_permissions(int fd, const struct stat* replaced) {
  if (replaced) {
    fchmod(fd, replaced->st_mode & 0777);
    if (fchown(fd, replaced->st_uid, replaced->st_gid) != 0) {
      // Only root may give a file away: the writer then owns the new one.
    }
    return;
  }
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, (0666 & ~mask) | 0600);
}

// Flushes the folder's list of names, so that the rename lasts. Some file
// systems cannot flush a folder; the file itself is safe by then.
void flush_folder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A file system that has no means to flush (EINVAL, ENOTSUP) has nothing
// more to write either.
bool flushed(int fd) { return fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP; }
}  // namespace

file_being_written::~file_being_written() { discard(); }

void file_being_written::discard() {
  if (handle_ >= 0) close(fd_of(handle_));
  handle_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

bool file_being_written::begin(const std::string& path, std::string& why) {
  discard();
  target_ = link_target(path);
  struct stat info;
  replaces_ = stat(target_.c_str(), &info) == 0;
  if (!replaces_ && errno != ENOENT) {
    why = error_text();
    return false;
  }
  if (replaces_ && !S_ISREG(info.st_mode)) {
    why = not_a_file(kind_of(info.st_mode));
    return false;
  }
  std::string temporary = folder_of(target_) + "/.partial-XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) {
    why = "cannot create a file in its folder: " + error_text();
    return false;
  }
  handle_ = fd;
  temporary_ = temporary;
  set_permissions(fd, replaces_ ? &info : nullptr);
  return true;
}

bool file_being_written::append(const void* data, std::size_t size, std::string& why) {
  if (handle_ < 0) {
    why = "the file is not being written";
    return false;
  }
  if (write_all(fd_of(handle_), data, size)) return true;
  why = error_text();
  return false;
}

// Written over the old bytes before the rest is cut off, so that a full disk
// needs room only for what the new bytes add.
bool file_being_written::rewrite(const void* data, std::size_t size, std::string& why) {
  if (handle_ >= 0 && lseek(fd_of(handle_), 0, SEEK_SET) != 0) {
    why = error_text();
    return false;
  }
  if (!append(data, size, why)) return false;
  if (ftruncate(fd_of(handle_), static_cast<off_t>(size)) == 0) return true;
  why = error_text();
  return false;
}

// Each step's own error is the one reported: close() may fail after a
// write-back error, and errno then holds its reason, not an older one.
bool file_being_written::finish(std::string& why) {
  if (handle_ < 0) {
    why = "the file is not being written";
    return false;
  }
  int fd = fd_of(handle_);
  handle_ = -1;
  bool ok = flushed(fd);
  if (!ok) why = error_text();
  if (close(fd) != 0 && ok) {
    ok = false;
    why = error_text();
  }
  if (ok && rename(temporary_.c_str(), target_.c_str()) != 0) {
    ok = false;
    why = error_text();
  }
  if (!ok) {
    discard();
    return false;
  }
  temporary_.clear();
  flush_folder(folder_of(target_));
  return true;
}
