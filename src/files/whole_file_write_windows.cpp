// Windows' side of whole_file_write.h: a temporary file beside the target, then
// MoveFileExW to replace the target in one step (a plain rename refuses to
// replace a file on Windows).
#include <windows.h>

#include <filesystem>

#include "files/utf8_paths.h"
#include "files/whole_file_write.h"
#include "files/windows_error.h"

namespace fs = std::filesystem;

namespace {
// A new file in the target's folder, by a name no other file has.
HANDLE create_temporary(const fs::path& folder, fs::path& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder / (".partial-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(GetTickCount64() % 100000 + attempt));
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
    if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}
}  // namespace

bool write_file_atomically(const std::string& path, const void* data, std::size_t size,
                           std::string& why) {
  fs::path target = file_path(path);
  fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  fs::path temp;
  HANDLE file = create_temporary(folder, temp);
  if (file == INVALID_HANDLE_VALUE) {
    why = "cannot create a file in its folder: " + windows_error_text(GetLastError());
    return false;
  }
  bool ok = write_all(file, data, size);
  DWORD error = GetLastError();
  ok = CloseHandle(file) && ok;
  if (ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (ok) error = GetLastError();
  why = windows_error_text(error);
  DeleteFileW(temp.c_str());
  return false;
}
