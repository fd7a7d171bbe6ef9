// Windows' side of utf8_paths.h: the command line read in UTF-16 and made
// UTF-8, and files opened by their UTF-16 names.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <vector>

#include "files/utf8_paths.h"

namespace {
std::string utf8_of(const wchar_t* wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], size, nullptr, nullptr);
  utf8.pop_back();  // the closing zero
  return utf8;
}
}  // namespace

std::FILE* open_file(const std::string& utf8, const char* mode) {
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(file_path(utf8).c_str(), wide_mode.c_str());
}

// SDL's entry point (for the game) and the C library's (for the tools)
// split the command line in the code page; it is split again here, the
// same way, from its UTF-16 original.
void use_utf8_arguments(int& argc, char**& argv) {
  static std::vector<std::string> words;
  static std::vector<char*> pointers;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return;  // the code page's arguments are better than none
  words.clear();
  for (int k = 0; k < count; ++k) words.push_back(utf8_of(wide[k]));
  LocalFree(wide);
  pointers.clear();
  for (std::string& word : words) pointers.push_back(&word[0]);
  pointers.push_back(nullptr);
  argc = count;
  argv = pointers.data();
}
