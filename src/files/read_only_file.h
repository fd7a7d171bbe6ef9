// A file opened for reading: the part of reading a file that differs from
// one system to another (read_only_file_posix.cpp, read_only_file_windows.cpp;
// CMake picks the system's version). Opening never waits, whatever the path
// names: a pipe with no writer, or a device, is opened at once and told apart
// from a regular file, so the caller can refuse it before reading a byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class file_kind { regular, folder, pipe, device, other };

// Why a path of this kind is not read or written as a file, in words:
// "it is a pipe, not a file".
const char* not_a_file(file_kind kind);

class read_only_file {
 public:
  // Opens without waiting; when it cannot even tell what the path names,
  // failure() says why.
  explicit read_only_file(const std::string& path);
  ~read_only_file();
  read_only_file(const read_only_file&) = delete;
  read_only_file& operator=(const read_only_file&) = delete;

  const std::string& failure() const { return failure_; }
  file_kind kind() const { return kind_; }
  std::uint64_t size() const { return size_; }  // bytes, when opened; a regular file's only

  // Reads up to `count` bytes, waiting for them as reads do; the first
  // read of a named pipe also waits for a program to open it for writing,
  // where a plain read would find its end at once. Returns how many were
  // read, 0 at the end, or -1 (failure() says why) on an error.
  long long read(void* into, std::size_t count);

 private:
  std::intptr_t handle_ = -1;  // wide enough for any system's kind of handle
  file_kind kind_ = file_kind::other;
  bool writer_seen_ = false;  // a named pipe's first read has waited for a writer
  std::uint64_t size_ = 0;
  std::string failure_;
};
