// Windows' error codes in words, for the Windows files' messages.
#pragma once

#include <string>

// The system's text for GetLastError()'s `code`, without the closing full
// stop and line break.
std::string windows_error_text(unsigned long code);
