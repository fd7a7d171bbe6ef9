#include "shell/file_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace {
// Writing in place, creating, renaming over and removing the file.
constexpr std::uint32_t SAVE_EVENTS = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_MOVED_TO | IN_DELETE;
}  // namespace

file_watch::file_watch(const std::string& path) {
  std::filesystem::path file(path);
  name_ = file.filename().string();
  std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
  changes_ = inotify_init1(IN_CLOEXEC);
  stop_ = eventfd(0, EFD_CLOEXEC);
  if (changes_ < 0 || stop_ < 0 || inotify_add_watch(changes_, folder.c_str(), SAVE_EVENTS) < 0) {
    failure_ = std::strerror(errno);
    return;
  }
  thread_ = std::thread([this] { run(); });
}

file_watch::~file_watch() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t written = write(stop_, &one, sizeof one);  // an eventfd takes it at once
    (void)written;
    thread_.join();
  }
  if (changes_ >= 0) close(changes_);
  if (stop_ >= 0) close(stop_);
}

// Reads the pending events; true when one of them is about the file.
bool file_watch::event_names_file() {
  alignas(inotify_event) char buffer[4096];
  ssize_t size = read(changes_, buffer, sizeof buffer);
  bool about_file = false;
  for (ssize_t at = 0; at < size;) {
    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
    if (event->len > 0 && name_ == event->name) about_file = true;
    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
  }
  return about_file;
}

// Sleeps until the folder changes. A change to the file starts (or starts
// again) QUIET_MS of waiting; when they pass without another, the save is
// reported. Changes to other files in the folder do not put it off.
void file_watch::run() {
  using clock = std::chrono::steady_clock;
  pollfd waits[2] = {{static_cast<int>(changes_), POLLIN, 0}, {static_cast<int>(stop_), POLLIN, 0}};
  bool settling = false;
  clock::time_point settled_at;
  for (;;) {
    int timeout = -1;
    if (settling) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(settled_at - clock::now());
      timeout = static_cast<int>(std::max<long long>(0, left.count()));
    }
    int ready = poll(waits, 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || waits[1].revents) return;
    if (ready > 0 && (waits[0].revents & POLLIN) && event_names_file()) {
      settling = true;
      settled_at = clock::now() + std::chrono::milliseconds(QUIET_MS);
    } else if (settling && clock::now() >= settled_at) {
      settling = false;
      saved_.store(true);
    }
  }
}
