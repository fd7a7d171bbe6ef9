// Windows' side of file_watch.h: the thread sleeps in ReadDirectoryChangesW
// on the file's folder (overlapped, so that an event can end it), and
// settles bursts of changes as the Linux side does.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "shell/file_watch.h"
#include "shell/windows_error.h"

namespace {
// Creating, renaming over, removing and writing the file.
constexpr DWORD SAVE_CHANGES =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
constexpr std::intptr_t NO_HANDLE = -1;

HANDLE handle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// True when one of the reported changes is about `name` (compared as
// Windows compares file names, ignoring case).
bool names_file(const char* buffer, DWORD size, const std::wstring& name) {
  for (DWORD at = 0; at < size;) {
    const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
    int length = static_cast<int>(change->FileNameLength / sizeof(WCHAR));
    if (CompareStringOrdinal(change->FileName, length, name.c_str(), static_cast<int>(name.size()),
                             TRUE) == CSTR_EQUAL)
      return true;
    if (change->NextEntryOffset == 0) break;
    at += change->NextEntryOffset;
  }
  return false;
}
}  // namespace

file_watch::file_watch(const std::string& path) {
  std::filesystem::path file(path);
  name_ = file.filename().string();
  std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  HANDLE changes = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                               nullptr);
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
  if (changes_ != NO_HANDLE) CloseHandle(handle(changes_));
  if (stop_ != NO_HANDLE) CloseHandle(handle(stop_));
}

// Sleeps until the folder changes or the stop event is set. A change to the
// file starts (or starts again) QUIET_MS of waiting; when they pass without
// another, the save is reported. A report too big for the buffer (size 0)
// may have been about the file, so it counts as a change to it.
void file_watch::run() {
  using clock = std::chrono::steady_clock;
  alignas(DWORD) char buffer[16384];
  std::wstring name = std::filesystem::path(name_).wstring();
  OVERLAPPED read{};
  read.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE waits[2] = {read.hEvent, handle(stop_)};
  bool reading = false, settling = false;
  clock::time_point settled_at;
  while (read.hEvent) {
    if (!reading && !ReadDirectoryChangesW(handle(changes_), buffer, sizeof buffer, FALSE,
                                           SAVE_CHANGES, nullptr, &read, nullptr))
      break;
    reading = true;
    DWORD timeout = INFINITE;
    if (settling) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(settled_at - clock::now());
      timeout = static_cast<DWORD>(std::max<long long>(0, left.count()));
    }
    DWORD woke = WaitForMultipleObjects(2, waits, FALSE, timeout);
    if (woke == WAIT_OBJECT_0) {
      DWORD size = 0;
      reading = false;
      bool read_ok = GetOverlappedResult(handle(changes_), &read, &size, FALSE);
      ResetEvent(read.hEvent);
      if (read_ok && (size == 0 || names_file(buffer, size, name))) {
        settling = true;
        settled_at = clock::now() + std::chrono::milliseconds(QUIET_MS);
      }
    } else if (woke == WAIT_TIMEOUT) {
      settling = false;
      saved_.store(true);
    } else {
      break;  // stopped, or the wait failed
    }
  }
  if (reading) {
    DWORD size = 0;
    CancelIoEx(handle(changes_), &read);
    GetOverlappedResult(handle(changes_), &read, &size, TRUE);
  }
  if (read.hEvent) CloseHandle(read.hEvent);
}
