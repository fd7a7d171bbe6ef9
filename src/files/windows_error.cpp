#include "files/windows_error.h"

#include <windows.h>

std::string windows_error_text(unsigned long code) {
  char text[256] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == '.'))
    text[--length] = '\0';
  return length > 0 ? text : "system error " + std::to_string(code);
}
