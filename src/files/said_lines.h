// The one road of every line the game says: each goes to standard error as
// it always did, and is handed to whoever listens, which in the game is the
// list of lines shown at the bottom of its window (shell/screen_messages.h).
// It lies on the lowest floor so that every room can say a line through it;
// programs that install no listener (the tools) write to standard error
// alone.
#pragma once

#include <string>

// Hears each line as it is said: the text without its line break. Called on
// the thread that said it.
using line_listener = void (*)(const char* line);

// Writes `line` and a line break to standard error, then hands it to the
// listener, if there is one.
void say_line(const std::string& line);

// The listener from now on (null: none).
void listen_to_said_lines(line_listener listener);
