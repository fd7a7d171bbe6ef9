// Windows' side of program_folder.h: the module file name of the program.
#include <windows.h>

#include <string>

#include "files/program_folder.h"

std::filesystem::path program_folder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    name.resize(name.size() * 2);  // cut short: a long path
  }
}
