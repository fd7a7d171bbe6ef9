#include "replay/key_script.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "files/file_bytes.h"
#include "shell/shown_text.h"

namespace {
struct named_key {
  const char* name;
  int key;
};

constexpr named_key KEY_NAMES[] = {
    {"Tab", SDLK_TAB},     {"Up", SDLK_UP},     {"Down", SDLK_DOWN},
    {"Right", SDLK_RIGHT}, {"Left", SDLK_LEFT}, {"Escape", SDLK_ESCAPE},
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

enum class whole { fits, not_whole, too_large };

// A whole number of plain digits within [low, high]; no sign, no spaces.
// Summed in 64 bits from at most ten significant digits: more overflow a
// 32-bit long (the browser's, Windows'), where std::stol would throw, and the
// browser build has no exceptions to catch it with.
whole parse_whole(const std::string& text, long low, long high, long& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    return whole::not_whole;
  std::size_t first = std::min(text.find_first_not_of('0'), text.size());
  if (text.size() - first > 10) return whole::too_large;
  long long sum = 0;
  for (std::size_t k = first; k < text.size(); ++k) sum = sum * 10 + (text[k] - '0');
  if (sum > high) return whole::too_large;
  if (sum < low) return whole::not_whole;
  value = static_cast<long>(sum);
  return whole::fits;
}

bool parse_key(const std::string& text, int& key) {
  std::string name = lower(text);
  for (const named_key& k : KEY_NAMES)
    if (name == lower(k.name)) {
      key = k.key;
      return true;
    }
  long number = 0;
  if (parse_whole(text, 0, SDLK_LAST - 1, number) != whole::fits) return false;
  key = static_cast<int>(number);
  return true;
}
}  // namespace

// A script or a replay may come from a pipe or a device too (`/dev/null`
// for no keys), but is still read only to the size limit.
bool read_text_file(const std::string& path, const std::string& what, std::string& text,
                    std::string& error) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (read_stream_bytes(path, bytes, reason)) {
    text.assign(bytes.begin(), bytes.end());
    return true;
  }
  error = "cannot read the " + what + ": " + reason + " (" + shown_text(path) + ")";
  return false;
}

bool parse_tick(const std::string& text, long& tick) {
  return parse_whole(text, 1, INT_MAX, tick) == whole::fits;
}

std::string tick_problem(const std::string& text) {
  long ignored = 0;
  switch (parse_whole(text, 1, INT_MAX, ignored)) {
    case whole::too_large:
      return "is too large (the most is " + std::to_string(INT_MAX) + ")";
    case whole::not_whole:
      return "is not a whole number from 1 up";
    case whole::fits:
      break;
  }
  return "";
}

bool parse_key_line(const std::string& raw, key_event& event, bool& is_event, std::string& error) {
  std::string line = raw;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::istringstream words(line);
  std::string tick, action, key, extra;
  words >> tick >> action >> key >> extra;
  is_event = false;
  if (tick.empty() || tick[0] == '#') return true;
  if (key.empty() || !extra.empty()) {
    error = "expected '<tick> down|up <key>'";
    return false;
  }
  if (!parse_tick(tick, event.tick)) {
    error = "tick '" + shown_text(tick) + "' " + tick_problem(tick);
    return false;
  }
  std::string act = lower(action);
  if (act != "down" && act != "up") {
    error = "'" + shown_text(action) + "' is neither down nor up";
    return false;
  }
  event.down = act == "down";
  if (!parse_key(key, event.key)) {
    error = "unknown key '" + shown_text(key) +
            "' (use Tab, Up, Down, Right, Left, Escape or a key number 0-" +
            std::to_string(SDLK_LAST - 1) + ")";
    return false;
  }
  is_event = true;
  return true;
}

bool read_key_script(const std::string& path, key_script& script, std::string& error) {
  std::string text;
  if (!read_text_file(path, "key script", text, error)) return false;
  std::istringstream in(text);
  script.events.clear();
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    key_event event{};
    bool is_event = false;
    std::string problem;
    if (!parse_key_line(line, event, is_event, problem)) {
      error = path + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
    if (is_event) script.events.push_back(event);
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const key_event& a, const key_event& b) { return a.tick < b.tick; });
  return true;
}

std::string key_event_line(const key_event& event) {
  std::string key = std::to_string(event.key);
  for (const named_key& k : KEY_NAMES)
    if (event.key == k.key) key = k.name;
  return std::to_string(event.tick) + (event.down ? " down " : " up ") + key;
}

SDL_Event sdl_key_event(const key_event& k) {
  SDL_Event event;
  std::memset(&event, 0, sizeof event);
  event.type = k.down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = k.down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(k.key);
  return event;
}
