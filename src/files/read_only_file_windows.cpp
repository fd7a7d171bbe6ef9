// Windows' side of read_only_file.h. CreateFileW opens whatever the path
// names without waiting: a device (NUL, CON) or the client end of a named
// pipe comes back at once, and FILE_FLAG_BACKUP_SEMANTICS lets a folder be
// opened too, so that it is named as such. The handle then says what it is.
// Other programs may write, rename or delete the file meanwhile: an editor
// saving the level must never find it locked by the game.
#include <windows.h>

#include <cwctype>

#include "files/read_only_file.h"
#include "files/utf8_paths.h"
#include "files/windows_error.h"

namespace {
HANDLE handle_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Windows keeps these names for its devices in every folder, with any
// extension and in any case: "CON", "nul.txt", "C:\\x\\com1.map". A device
// that cannot be opened (a console where there is none) is still told as
// one, not as a file that is missing.
bool names_a_device(const std::wstring& path) {
  static const wchar_t* const DEVICES[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  std::wstring name = std::filesystem::path(path).filename().wstring();
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && (name.back() == L' ' || name.back() == L':')) name.pop_back();
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  for (const wchar_t* device : DEVICES)
    if (name == device) return true;
  bool port =
      name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0);
  return port && name[3] >= L'1' && name[3] <= L'9';
}

// What the open handle is, and a disk file's size.
file_kind kind_of(HANDLE file, std::uint64_t& size) {
  switch (GetFileType(file)) {
    case FILE_TYPE_CHAR:
      return file_kind::device;
    case FILE_TYPE_PIPE:
      return file_kind::pipe;
    case FILE_TYPE_DISK:
      break;
    default:
      return file_kind::other;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return file_kind::other;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return file_kind::folder;
  size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return file_kind::regular;
}
}  // namespace

read_only_file::read_only_file(const std::string& path) {
  HANDLE file = CreateFileW(file_path(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (names_a_device(file_path(path).wstring()))
      kind_ = file_kind::device;
    else
      failure_ = windows_error_text(error);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  kind_ = kind_of(file, size_);
}

read_only_file::~read_only_file() {
  if (handle_ != -1) CloseHandle(handle_of(handle_));
}

long long read_only_file::read(void* into, std::size_t count) {
  DWORD wanted = count < (DWORD{1} << 30) ? static_cast<DWORD>(count) : DWORD{1} << 30;
  DWORD got = 0;
  if (ReadFile(handle_of(handle_), into, wanted, &got, nullptr)) return got;
  DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;  // the writer is done
  failure_ = windows_error_text(error);
  return -1;
}
