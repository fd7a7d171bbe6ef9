// Key scripts for the headless runner, and the key events of replays: a
// text file of lines
//   <tick> down|up <key>
// with ticks counted from 1 and the key a name (Tab, Up, Down, Right, Left,
// Escape; any letter case) or an SDL key symbol number. Blank lines and lines
// starting with '#' are ignored.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

struct key_event {
  long tick;  // 1-based: dispatched after that tick's step pass
  bool down;  // key-down, else key-up
  int key;    // SDL key symbol
};

// Events in tick order; events of the same tick keep their file order.
struct key_script {
  std::vector<key_event> events;
};

// Reads and checks the whole file. On failure returns false with one line of
// text in error naming the file (and line, for a bad line) and the problem.
bool read_key_script(const std::string& path, key_script& script, std::string& error);

// Reads a whole text file; false with one line in error that names the file
// and calls it `what` ("key script", "replay").
bool read_text_file(const std::string& path, const std::string& what, std::string& text,
                    std::string& error);

// A tick number: plain digits, from 1 up to INT_MAX.
bool parse_tick(const std::string& text, long& tick);

// What is wrong with a tick that parse_tick refuses, to follow its quoted
// text: "is too large (the most is 2147483647)", or "is not a whole number
// from 1 up".
std::string tick_problem(const std::string& text);

// Parses one line (without its newline). Returns false with the problem in
// error; a blank or comment line gives true with is_event false.
bool parse_key_line(const std::string& line, key_event& event, bool& is_event, std::string& error);

// The line for an event, as parse_key_line reads it back: the keys above by
// name ("12 down Right"), any other by number.
std::string key_event_line(const key_event& event);

// The SDL event the game's event pass hands to the objects for this key.
SDL_Event sdl_key_event(const key_event& event);
