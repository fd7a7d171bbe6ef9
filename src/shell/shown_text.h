// Text from a file, as a message shows it: a replay's key names, the level
// and program it names, any line a program quotes back. Such bytes go to a
// terminal, where an escape sequence would act (retitle the window, clear
// the screen) and a NUL would cut the message short.
#pragma once

#include <string>

// UTF-8 text as it is; every control character (C0, DEL, C1) and every byte
// that is not part of valid UTF-8 as \xHH, its value in hexadecimal.
std::string shown_text(const std::string& bytes);
