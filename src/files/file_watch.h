// Tells when a file has been saved, without reading it over and over: a thread
// sleeps in the kernel (inotify on the file's folder; on Windows,
// file_watch_windows.cpp, a read of the folder's changes) until something in
// the folder changes, so while nothing does it costs next to nothing. It
// sees a file written in place and one saved by writing a new file and
// renaming it over the old. A save that comes as a burst of writes is
// reported once, after the file has been left alone for QUIET_MS. When the
// folder is removed or renamed away, it is looked for once a second until it
// is back (renamed back, or made again), and watched again from then on; the
// rules for both are in watch_timing.h, for every system's version to follow.
// A file given as a symbolic link is watched where the link leads: saves go
// to that file, in its own folder.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "files/watch_timing.h"

class file_watch {
 public:
  static constexpr int QUIET_MS = static_cast<int>(watch_timing::QUIET_MS);

  // Starts watching; when it cannot (the folder cannot be watched, or no
  // thread can be started), failure() says why.
  explicit file_watch(const std::string& path);
  ~file_watch();
  file_watch(const file_watch&) = delete;
  file_watch& operator=(const file_watch&) = delete;

  const std::string& failure() const { return failure_; }

  // True once for each save that has settled. One atomic read when nothing
  // changed: it may be asked every tick.
  bool saved() { return saved_.load(std::memory_order_relaxed) && saved_.exchange(false); }

  // True while the file's folder is gone (removed, or renamed away).
  bool folder_gone() const { return folder_gone_.load(std::memory_order_relaxed); }

 private:
  void start_thread();  // (file_watch_thread.cpp, for every system)
  void run();

  std::string name_;    // the file's name within its folder
  std::string folder_;  // the folder's whole path, to watch it again when it is back
  std::string failure_;
  // The system's handles: an inotify descriptor, the folder's watch in it
  // (-1 while the folder is gone) and an eventfd that ends the thread; on
  // Windows the folder's handle, which the thread takes over, and an event.
  std::intptr_t changes_ = -1;
  std::intptr_t watch_ = -1;
  std::intptr_t stop_ = -1;
  std::atomic<bool> saved_{false};
  std::atomic<bool> folder_gone_{false};
  std::thread thread_;
};
