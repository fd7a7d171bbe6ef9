// Writing files (levels, pictures, replays) so that a failure never leaves a
// half-written file behind and never spoils an older one. The bytes go to a
// new file beside the target, which is flushed to the disk, renamed over the
// target, and the folder flushed in turn: after a crash or a power cut the
// target holds the old bytes or the new ones, never a mix or nothing.
//
// A target that is a symbolic link is written through: the file it leads to
// is replaced and the link stays. A file that is replaced keeps its
// permissions; a new one gets those of any new file, but always lets its
// owner read and write it (the browser's file system starts with a umask of
// 0777). A target that is neither a regular file nor missing (a folder, a
// named pipe, a device) is refused: renaming over it would put a plain file
// in the place of /dev/null or of a pipe. whole_file_write.cpp serves Linux
// and the browser, whole_file_write_windows.cpp Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One file being written: begun, filled in as many steps as the writer
// likes (a recording grows while the game runs), then put in place whole.
// Every step returns false with the reason in words when it fails.
class file_being_written {
 public:
  file_being_written() = default;
  ~file_being_written();  // an unfinished file is removed; the target stays as it was
  file_being_written(const file_being_written&) = delete;
  file_being_written& operator=(const file_being_written&) = delete;

  // Makes the new file beside the target that `path` names (or leads to).
  bool begin(const std::string& path, std::string& why);

  // Adds bytes at the end.
  bool append(const void* data, std::size_t size, std::string& why);

  // Replaces all that was written so far.
  bool rewrite(const void* data, std::size_t size, std::string& why);

  // Flushes the file, closes it and renames it over the target. Whatever it
  // returns, the file is no longer being written afterwards.
  bool finish(std::string& why);

 private:
  void discard();

  std::intptr_t handle_ = -1;  // wide enough for any system's kind of handle
  std::string target_;         // what the bytes replace: the link's file, for a link
  std::string temporary_;      // the new file's path, while it exists
  bool replaces_ = false;      // the target exists
};

// The whole of `data`, as one file. False with the reason when anything fails;
// the target is then left as it was.
inline bool write_file_atomically(const std::string& path, const void* data, std::size_t size,
                                  std::string& why) {
  file_being_written file;
  return file.begin(path, why) && file.append(data, size, why) && file.finish(why);
}

inline bool write_file_atomically(const std::string& path, const std::string& text,
                                  std::string& why) {
  return write_file_atomically(path, text.data(), text.size(), why);
}
