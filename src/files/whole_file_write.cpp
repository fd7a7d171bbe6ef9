#include "files/whole_file_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool write_all(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// mkstemp makes the file readable by its owner only; a level, a picture or
// a replay should get the permissions any other new file would. The owner
// keeps reading and writing it whatever the mask says: the browser's file
// system starts with a mask of 0777, which would leave a file nobody can open.
void usual_permissions(int fd) {
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, (0666 & ~mask) | 0600);
}
}  // namespace

bool write_file_atomically(const std::string& path, const void* data, std::size_t size,
                           std::string& why) {
  std::string temp = folder_of(path) + "/.partial-XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    why = std::string("cannot create a file in its folder: ") + std::strerror(errno);
    return false;
  }
  usual_permissions(fd);
  bool ok = write_all(fd, data, size);
  int saved = errno;
  ok = (close(fd) == 0) && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) == 0) return true;
  if (ok) saved = errno;
  why = std::strerror(saved);
  std::remove(temp.c_str());
  return false;
}
