// POSIX systems name files in bytes, and the arguments are UTF-8 as given.
#include "files/utf8_paths.h"

std::FILE* open_file(const std::string& utf8, const char* mode) {
  return std::fopen(utf8.c_str(), mode);
}

void use_utf8_arguments(int&, char**&) {}
