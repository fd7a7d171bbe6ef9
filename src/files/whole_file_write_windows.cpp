// Windows' side of whole_file_write.h. The new file is made beside the
// target under a name no other file has, flushed with FlushFileBuffers, and
// put in place by ReplaceFileW, which keeps the replaced file's attributes
// and access rights (its permissions), or, for a new target, by MoveFileExW
// told to return only once the move is on the disk. (A plain rename refuses
// to replace a file on Windows.)
#include <windows.h>

#include <filesystem>

#include "files/link_target.h"
#include "files/read_only_file.h"
#include "files/utf8_paths.h"
#include "files/whole_file_write.h"
#include "files/windows_error.h"

namespace fs = std::filesystem;

namespace {
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string last_error() { return windows_error_text(GetLastError()); }

// What stands at the target: nothing (ERROR_FILE_NOT_FOUND), or the kind of
// what its handle opens, without reading it or waiting for it.
DWORD kind_at(const fs::path& target, file_kind& kind) {
  HANDLE file = CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  BY_HANDLE_FILE_INFORMATION info;
  DWORD type = GetFileType(file);
  kind = type == FILE_TYPE_CHAR                               ? file_kind::device
         : type == FILE_TYPE_PIPE                             ? file_kind::pipe
         : type != FILE_TYPE_DISK                             ? file_kind::other
         : !GetFileInformationByHandle(file, &info)           ? file_kind::other
         : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? file_kind::folder
                                                              : file_kind::regular;
  CloseHandle(file);
  return 0;
}

// A new file in the target's folder, by a name no other file has.
HANDLE create_temporary(const fs::path& folder, fs::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder / (".partial-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(GetTickCount64() % 100000 + attempt));
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool write_all(HANDLE file, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);  // no progress and no reason: do not loop for ever
      return false;
    }
    p += written;
    size -= written;
  }
  return true;
}

bool put_in_place(const fs::path& temporary, const fs::path& target, bool replaces) {
  if (replaces && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  if (replaces && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  return MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
}  // namespace

file_being_written::~file_being_written() { discard(); }

void file_being_written::discard() {
  if (handle_ != -1) CloseHandle(handle_of(handle_));
  handle_ = -1;
  if (!temporary_.empty()) DeleteFileW(file_path(temporary_).c_str());
  temporary_.clear();
}

// The paths are made whole and spelled with backslashes: Wine's ReplaceFileW
// fails ("Directory name invalid") on a bare name or a forward slash.
bool file_being_written::begin(const std::string& path, std::string& why) {
  discard();
  std::error_code unknown;
  fs::path target = fs::absolute(file_path(link_target(path)), unknown).make_preferred();
  target_ = target.u8string();
  file_kind kind = file_kind::other;
  DWORD error = kind_at(target, kind);
  replaces_ = error == 0;
  if (error != 0 && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    why = windows_error_text(error);
    return false;
  }
  if (replaces_ && kind != file_kind::regular) {
    why = not_a_file(kind);
    return false;
  }
  fs::path temporary;
  HANDLE file = create_temporary(target.parent_path(), temporary);
  if (file == INVALID_HANDLE_VALUE) {
    why = "cannot create a file in its folder: " + last_error();
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  temporary_ = temporary.u8string();
  return true;
}

bool file_being_written::append(const void* data, std::size_t size, std::string& why) {
  if (handle_ == -1) {
    why = "the file is not being written";
    return false;
  }
  if (write_all(handle_of(handle_), data, size)) return true;
  why = last_error();
  return false;
}

// Written over the old bytes before the rest is cut off, so that a full disk
// needs room only for what the new bytes add.
bool file_being_written::rewrite(const void* data, std::size_t size, std::string& why) {
  LARGE_INTEGER start{};
  if (handle_ != -1 && !SetFilePointerEx(handle_of(handle_), start, nullptr, FILE_BEGIN)) {
    why = last_error();
    return false;
  }
  if (!append(data, size, why)) return false;
  if (SetEndOfFile(handle_of(handle_))) return true;
  why = last_error();
  return false;
}

// Each step's own error is the one reported, read at once: a later call may
// change GetLastError().
bool file_being_written::finish(std::string& why) {
  if (handle_ == -1) {
    why = "the file is not being written";
    return false;
  }
  HANDLE file = handle_of(handle_);
  handle_ = -1;
  bool ok = FlushFileBuffers(file) != 0;
  if (!ok) why = last_error();
  if (!CloseHandle(file) && ok) {
    ok = false;
    why = last_error();
  }
  if (ok && !put_in_place(file_path(temporary_), file_path(target_), replaces_)) {
    ok = false;
    why = last_error();
  }
  if (!ok) {
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}
