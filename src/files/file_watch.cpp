// The Linux watcher: inotify on the file's folder, and an eventfd that ends
// the thread.
#include "files/file_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "files/inotify_news.h"
#include "files/link_target.h"

namespace {
// Writing in place, creating, renaming over and removing the file; and the
// folder itself going away.
constexpr std::uint32_t FOLDER_EVENTS =
    IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;

std::int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int fd(std::intptr_t handle) { return static_cast<int>(handle); }

// Watches the folder, if it is one: a file made where the folder was would
// be watched too. -1, with errno set, when it cannot.
std::intptr_t watch_folder(std::intptr_t changes, const std::string& folder) {
  std::error_code ignored;
  if (!std::filesystem::is_directory(folder, ignored)) {
    errno = std::filesystem::exists(folder, ignored) ? ENOTDIR : ENOENT;
    return -1;
  }
  return inotify_add_watch(fd(changes), folder.c_str(), FOLDER_EVENTS);
}
}  // namespace

file_watch::file_watch(const std::string& path) {
  std::filesystem::path file(link_target(path));
  name_ = file.filename().string();
  std::error_code ignored;
  std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  folder_ = std::filesystem::absolute(folder, ignored).lexically_normal().string();
  changes_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  stop_ = eventfd(0, EFD_CLOEXEC);
  if (changes_ < 0 || stop_ < 0 || (watch_ = watch_folder(changes_, folder_)) < 0) {
    failure_ = std::strerror(errno);
    return;
  }
  start_thread();
}

file_watch::~file_watch() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t written = write(fd(stop_), &one, sizeof one);  // an eventfd takes it at once
    (void)written;
    thread_.join();
  }
  if (changes_ >= 0) close(fd(changes_));
  if (stop_ >= 0) close(fd(stop_));
}

// Sleeps until the folder changes, a quiet period ends or it is time to
// look for a gone folder again. The timing decides; the events feed it.
void file_watch::run() {
  watch_timing timing;
  pollfd waits[2] = {{fd(stop_), POLLIN, 0}, {fd(changes_), POLLIN, 0}};
  for (;;) {
    int ready = poll(waits, 2, static_cast<int>(timing.wait_ms(now_ms())));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || waits[0].revents) return;
    if (waits[1].revents & POLLIN) {
      alignas(inotify_event) char buffer[16384];
      ssize_t size = read(fd(changes_), buffer, sizeof buffer);
      folder_news news = read_news(buffer, size > 0 ? static_cast<std::size_t>(size) : 0,
                                   fd(watch_), name_);
      if (news.file_changed) timing.changed(now_ms());
      if (news.folder_gone && watch_ >= 0) {
        inotify_rm_watch(fd(changes_), fd(watch_));  // already dropped: harmless
        watch_ = -1;
        timing.folder_gone(now_ms());
      }
    }
    std::int64_t now = now_ms();
    if (timing.look_due(now) && (watch_ = watch_folder(changes_, folder_)) >= 0)
      timing.folder_back(now);
    folder_gone_.store(timing.folder_is_gone());
    if (timing.save_due(now)) saved_.store(true);
  }
}
