// Windows' side of file_watch.h: the thread sleeps on a read of the
// folder's changes (ReadDirectoryChangesW, overlapped) and on an event that
// ends it. Changes that come while no read is in flight are kept by the
// system for the next one, so none slips between two reads; when too many
// come to be kept, the file may have been saved.
//
// Windows does not reliably report the watched folder itself going: the
// handle follows a folder renamed away to its new name, and may go on
// watching a removed one (Wine's does) instead of failing the read. So once
// a second the thread opens the folder's path again and checks that it is
// still the folder watched. When it is not, or a read fails, the folder is
// gone, and is looked for once a second until it is back, as watch_timing.h
// rules for every system.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>

#include "files/change_records.h"
#include "files/file_watch.h"
#include "files/link_target.h"
#include "files/utf8_paths.h"
#include "files/windows_error.h"

namespace {
static_assert(CHANGES_LOST == ERROR_NOTIFY_ENUM_DIR);
static_assert(sizeof(change_record_head) == offsetof(FILE_NOTIFY_INFORMATION, FileName));

// Creating, renaming over, removing and writing the file.
constexpr DWORD SAVE_CHANGES =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::intptr_t NO_HANDLE = -1;

HANDLE handle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

std::int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Which folder a handle is open on: the same folder, under any name, while
// it exists.
struct folder_id {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const folder_id& other) const {
    return volume == other.volume && high == other.high && low == other.low;
  }
};

// Which folder `folder` is open on; false when it is no folder.
bool identify(HANDLE folder, folder_id& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

// The folder at `path`, opened with `access` and `flags`;
// INVALID_HANDLE_VALUE, with GetLastError() set, when the path names
// nothing or no folder.
HANDLE open_folder(const std::wstring& path, DWORD access, DWORD flags) {
  HANDLE folder = CreateFileW(path.c_str(), access, SHARE_ALL, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
  folder_id ignored;
  if (folder == INVALID_HANDLE_VALUE || identify(folder, ignored)) return folder;
  CloseHandle(folder);
  SetLastError(ERROR_DIRECTORY);
  return INVALID_HANDLE_VALUE;
}

HANDLE open_to_watch(const std::wstring& path) {
  return open_folder(path, FILE_LIST_DIRECTORY, FILE_FLAG_OVERLAPPED);
}

// The watched folder's handle and the one read in flight on it; owned by
// the watcher's thread.
class folder_watch {
 public:
  folder_watch() { done_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~folder_watch() {
    close();
    if (done_.hEvent) CloseHandle(done_.hEvent);
  }
  folder_watch(const folder_watch&) = delete;
  folder_watch& operator=(const folder_watch&) = delete;

  bool open() const { return folder_ != INVALID_HANDLE_VALUE; }
  HANDLE done() const { return done_.hEvent; }

  // Watches `folder` (opened by open_to_watch), closing it when it cannot.
  bool take(HANDLE folder) {
    close();
    folder_ = folder;
    if (identify(folder_, id_) && arm()) return true;
    close();
    return false;
  }

  bool reopen(const std::wstring& path) {
    HANDLE folder = open_to_watch(path);
    return folder != INVALID_HANDLE_VALUE && take(folder);
  }

  // Starts the next read; false when the folder cannot be read any more.
  bool arm() {
    ResetEvent(done_.hEvent);
    reading_ = done_.hEvent && ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE,
                                                     SAVE_CHANGES, nullptr, &done_, nullptr);
    return reading_;
  }

  // What the read that has just ended says about the file `name`.
  folder_news collect(const std::wstring& name) {
    DWORD got = 0;
    DWORD error = GetOverlappedResult(folder_, &done_, &got, FALSE) ? 0 : GetLastError();
    reading_ = false;
    auto same_name = [&name](const std::u16string& other) {
      return CompareStringOrdinal(reinterpret_cast<LPCWCH>(other.data()),
                                  static_cast<int>(other.size()), name.data(),
                                  static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
    };
    return read_change_records(buffer_, error == 0 ? got : 0, error, same_name);
  }

  // Whether `path` still names the folder watched.
  bool is_at(const std::wstring& path) const {
    HANDLE folder = open_folder(path, FILE_READ_ATTRIBUTES, 0);
    if (folder == INVALID_HANDLE_VALUE) return false;
    folder_id there;
    bool same = identify(folder, there) && there == id_;
    CloseHandle(folder);
    return same;
  }

  // Cancels the read in flight and waits for it to end, for the system
  // must not write into the buffer once it is gone.
  void close() {
    if (!open()) return;
    if (reading_) {
      DWORD got = 0;
      CancelIoEx(folder_, &done_);
      GetOverlappedResult(folder_, &done_, &got, TRUE);
      reading_ = false;
    }
    CloseHandle(folder_);
    folder_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE folder_ = INVALID_HANDLE_VALUE;
  folder_id id_;
  OVERLAPPED done_{};
  bool reading_ = false;
  alignas(DWORD) unsigned char buffer_[16384];
};
// How long to sleep: until the timing's next event, or, while the folder
// is watched, until its path is next checked. INFINITE when nothing is due.
DWORD sleep_ms(const watch_timing& timing, const folder_watch& watch, std::int64_t now,
               std::int64_t check_at) {
  std::int64_t wait = timing.wait_ms(now);
  if (watch.open()) {
    std::int64_t check = std::max<std::int64_t>(0, check_at - now);
    wait = wait < 0 ? check : std::min(wait, check);
  }
  return wait < 0 ? INFINITE : static_cast<DWORD>(wait);
}

// Takes in what woke the thread: the folder's news when the watch woke it
// (a change to the file is handed to the timing), and the check of the
// folder's path when due. True when the folder is lost: gone, the watch
// unable to go on, or its path no longer leading to it.
bool folder_lost(folder_watch& watch, watch_timing& timing, const std::wstring& name,
                 const std::wstring& folder, bool woke_by_watch, std::int64_t now,
                 std::int64_t& check_at) {
  bool lost = false;
  if (woke_by_watch) {
    folder_news news = watch.collect(name);
    if (news.file_changed) timing.changed(now);
    lost = news.folder_gone || !watch.arm();
  }
  if (watch.open() && !lost && now >= check_at) {
    check_at = now + watch_timing::LOOK_AGAIN_MS;
    lost = !watch.is_at(folder);
  }
  return lost;
}
}  // namespace

file_watch::file_watch(const std::string& path) {
  std::filesystem::path file = file_path(link_target(path));
  name_ = file.filename().string();
  std::error_code ignored;
  std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  folder_ = std::filesystem::absolute(folder, ignored).lexically_normal().string();
  HANDLE changes = open_to_watch(file_path(folder_).wstring());
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (changes == INVALID_HANDLE_VALUE || !stop) {
    failure_ = windows_error_text(GetLastError());
    if (changes != INVALID_HANDLE_VALUE) CloseHandle(changes);
    if (stop) CloseHandle(stop);
    return;
  }
  changes_ = reinterpret_cast<std::intptr_t>(changes);
  stop_ = reinterpret_cast<std::intptr_t>(stop);
  start_thread();
}

file_watch::~file_watch() {
  if (thread_.joinable()) {
    SetEvent(handle(stop_));
    thread_.join();
  }
  if (changes_ != NO_HANDLE) CloseHandle(handle(changes_));
  if (stop_ != NO_HANDLE) CloseHandle(handle(stop_));
}

// Sleeps until the folder changes, a quiet period ends, or it is time to
// check the folder's path (once a second while it is watched, and while it
// is gone). The timing decides; the reads feed it.
void file_watch::run() {
  const std::wstring name = file_path(name_).wstring();
  const std::wstring folder = file_path(folder_).wstring();
  watch_timing timing;
  folder_watch watch;
  std::int64_t now = now_ms(), check_at = now + watch_timing::LOOK_AGAIN_MS;
  bool watching = watch.take(handle(changes_));
  changes_ = NO_HANDLE;  // the watch owns it now
  if (!watching) timing.folder_gone(now);
  for (;;) {
    HANDLE waits[2] = {handle(stop_), watch.done()};
    DWORD woke = WaitForMultipleObjects(watch.open() ? 2 : 1, waits, FALSE,
                                        sleep_ms(timing, watch, now, check_at));
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
    now = now_ms();
    if (folder_lost(watch, timing, name, folder, woke == WAIT_OBJECT_0 + 1, now, check_at)) {
      watch.close();
      timing.folder_gone(now);
    }
    if (timing.look_due(now) && watch.reopen(folder)) {
      timing.folder_back(now);
      check_at = now + watch_timing::LOOK_AGAIN_MS;
    }
    folder_gone_.store(timing.folder_is_gone());
    if (timing.save_due(now)) saved_.store(true);
  }
}
