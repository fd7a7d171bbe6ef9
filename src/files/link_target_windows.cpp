// Windows' side of link_target.h. The path is opened, which follows every
// link on the way (a reparse point; under Wine, a Unix symbolic link, which
// Wine does not show as one), and the handle says which file it reached.
#include <windows.h>

#include <vector>

#include "files/link_target.h"
#include "files/utf8_paths.h"

namespace {
// "\\?\C:\x" is "C:\x", and "\\?\UNC\server\share" is "\\server\share".
std::wstring without_long_prefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}
}  // namespace

std::string link_target(const std::string& path) {
  HANDLE file = CreateFileW(file_path(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;  // nothing there, or a link leading nowhere
  std::vector<wchar_t> reached(32768);
  DWORD length =
      GetFinalPathNameByHandleW(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  CloseHandle(file);
  if (length == 0 || length >= reached.size()) return path;  // a device has no such path
  return std::filesystem::path(without_long_prefix(std::wstring(reached.data(), length)))
      .u8string();
}
