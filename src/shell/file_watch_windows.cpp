// Windows' side of file_watch.h: the thread sleeps on a change notification
// for the file's folder (FindFirstChangeNotificationW) and on an event that
// ends it. A notification says only that something in the folder changed,
// so the file's own state (times and size) tells whether it was the file;
// changes to other files do not put a save off. Bursts settle as on Linux.
//
// A notification handle has no read in flight, so ending the thread never
// waits for a cancelled read to come back.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "shell/file_watch.h"
#include "shell/windows_error.h"

namespace {
// Creating, renaming over, removing and writing the file.
constexpr DWORD SAVE_CHANGES =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
constexpr std::intptr_t NO_HANDLE = -1;

HANDLE handle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// What a save changes: whether the file is there, when it was made (a file
// renamed over it was made elsewhere), when it was written, and its size.
struct file_state {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  bool exists = false;

  bool operator==(const file_state& other) const {
    return exists == other.exists && std::memcmp(&data, &other.data, sizeof data) == 0;
  }
};

file_state state_of(const std::wstring& path) {
  file_state state;
  state.exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &state.data) != 0;
  if (state.exists) state.data.ftLastAccessTime = {};  // reading it is no save
  return state;
}
}  // namespace

// name_ holds the file's whole path here: its state is read, not its events.
file_watch::file_watch(const std::string& path) {
  std::filesystem::path file(path);
  name_ = path;
  std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  HANDLE changes = FindFirstChangeNotificationW(folder.c_str(), FALSE, SAVE_CHANGES);
  if (changes == INVALID_HANDLE_VALUE) {
    failure_ = windows_error_text(GetLastError());
    return;
  }
  changes_ = reinterpret_cast<std::intptr_t>(changes);
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!stop) {
    failure_ = windows_error_text(GetLastError());
    return;
  }
  stop_ = reinterpret_cast<std::intptr_t>(stop);
  thread_ = std::thread([this] { run(); });
}

file_watch::~file_watch() {
  if (thread_.joinable()) {
    SetEvent(handle(stop_));
    thread_.join();
  }
  if (changes_ != NO_HANDLE) FindCloseChangeNotification(handle(changes_));
  if (stop_ != NO_HANDLE) CloseHandle(handle(stop_));
}

// Sleeps until the folder changes or the stop event is set. On every change
// in the folder, and every QUIET_MS for a second after it, the file is
// looked at: Wine can let a notification slip when a file is renamed over
// it just as the notification is armed again, and the looks that follow
// catch that save all the same. A change to the file starts (or starts
// again) QUIET_MS of waiting; when they pass without another, the save is
// reported. While nothing in the folder changes, the thread only sleeps.
void file_watch::run() {
  using clock = std::chrono::steady_clock;
  constexpr auto QUIET = std::chrono::milliseconds(QUIET_MS);
  constexpr auto LOOKING = std::chrono::seconds(1);
  auto wait_until = [](clock::time_point at) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(at - clock::now());
    return static_cast<DWORD>(std::max<long long>(0, left.count()));
  };
  std::wstring path = std::filesystem::path(name_).wstring();
  file_state last = state_of(path);
  HANDLE waits[2] = {handle(changes_), handle(stop_)};
  bool settling = false;
  clock::time_point settled_at, looking_until;
  for (;;) {
    DWORD timeout = INFINITE;
    if (settling)
      timeout = wait_until(settled_at);
    else if (clock::now() < looking_until)
      timeout = std::min(wait_until(looking_until), static_cast<DWORD>(QUIET_MS));
    DWORD woke = WaitForMultipleObjects(2, waits, FALSE, timeout);
    if (woke == WAIT_OBJECT_0) {
      if (!FindNextChangeNotification(handle(changes_))) return;
      looking_until = clock::now() + LOOKING;
    } else if (woke != WAIT_TIMEOUT) {
      return;  // stopped, or the wait failed
    }
    file_state now = state_of(path);
    if (!(now == last)) {
      last = now;
      settling = true;
      settled_at = clock::now() + QUIET;
    } else if (settling && clock::now() >= settled_at) {
      settling = false;
      saved_.store(true);
    }
  }
}
