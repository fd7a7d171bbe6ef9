// Tells when a file has been saved, without looking at the disk: a thread
// sleeps in the kernel (inotify on the file's folder; on Windows,
// file_watch_windows.cpp, a change notification) until something in the
// folder changes, so while nothing does it costs nothing. It sees a file
// written in place and one saved by writing a new file and renaming it over
// the old. A save that comes as a burst of writes is reported once, after
// the file has been left alone for QUIET_MS.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class file_watch {
 public:
  static constexpr int QUIET_MS = 120;

  // Starts watching; when it cannot, failure() says why.
  explicit file_watch(const std::string& path);
  ~file_watch();
  file_watch(const file_watch&) = delete;
  file_watch& operator=(const file_watch&) = delete;

  const std::string& failure() const { return failure_; }

  // True once for each save that has settled. One atomic read when nothing
  // changed: it may be asked every tick.
  bool saved() { return saved_.load(std::memory_order_relaxed) && saved_.exchange(false); }

 private:
  void run();
  bool event_names_file();

  std::string name_;  // the file's name within its folder
  std::string failure_;
  // The system's handles: an inotify descriptor and an eventfd that ends the
  // thread; on Windows the folder and an event.
  std::intptr_t changes_ = -1;
  std::intptr_t stop_ = -1;
  std::atomic<bool> saved_{false};
  std::thread thread_;
};
