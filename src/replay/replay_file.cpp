#include "replay/replay_file.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "shell/shown_text.h"
#include "shell/version.h"

namespace {
constexpr const char* FIRST_LINE = "# blobdemo replay";

bool all_hex(const std::string& text, std::size_t digits) {
  return text.size() == digits && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// Control characters would end the comment line early or act on a terminal.
std::string one_line(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return text;
}

// Reads the lines of one replay into r, noting which header lines it saw.
class replay_reader {
 public:
  explicit replay_reader(replay& r) : r_(r) {}

  // Takes one line; an empty result, or the problem with it.
  std::string line(std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.rfind("# ", 0) == 0) return comment(text.substr(2));
    key_event event{};
    bool is_event = false;
    std::string problem;
    if (!parse_key_line(text, event, is_event, problem)) return problem;
    if (is_event) r_.events.push_back(event);
    return "";
  }

  // What the whole file lacks, or empty.
  std::string missing() const {
    for (const char* key : {"level", "level-sha256", "ticks"})
      if (std::find(seen_.begin(), seen_.end(), key) == seen_.end())
        return std::string("it has no '# ") + key + ":' line";
    return "";
  }

 private:
  std::string comment(const std::string& text) {
    if (text.rfind("state ", 0) == 0) return state(text.substr(6));
    std::size_t colon = text.find(": ");
    if (colon == std::string::npos) return "";  // a comment for people
    std::string key = text.substr(0, colon), value = text.substr(colon + 2);
    if (key != "program" && key != "level" && key != "level-sha256" && key != "ticks") return "";
    if (std::find(seen_.begin(), seen_.end(), key) != seen_.end())
      return "a second '# " + key + ":' line";
    seen_.push_back(key);
    if (key == "program") r_.program = value;
    if (key == "level") r_.level_path = value;
    if (key == "level-sha256") {
      if (!all_hex(value, 64)) return "the level's SHA-256 is not 64 hexadecimal digits";
      r_.level_sha256 = value;
    }
    if (key == "ticks" && !parse_tick(value, r_.ticks))
      return "ticks '" + shown_text(value) + "' " + tick_problem(value);
    return "";
  }

  // "N: HASH"
  std::string state(const std::string& text) {
    std::size_t colon = text.find(": ");
    state_checkpoint checkpoint{};
    std::string hash = colon == std::string::npos ? "" : text.substr(colon + 2);
    if (colon == std::string::npos || !parse_tick(text.substr(0, colon), checkpoint.tick) ||
        !all_hex(hash, 16))
      return "expected '# state <tick>: <16 hexadecimal digits>'";
    checkpoint.hash = std::stoull(hash, nullptr, 16);
    r_.checkpoints.push_back(checkpoint);
    return "";
  }

  replay& r_;
  std::vector<std::string> seen_;
};

// The tick whose state the checkpoint at `index` holds in a replay of
// `ticks` ticks: every CHECKPOINT_TICKS ticks, and the last tick.
long checkpoint_tick(std::size_t index, long ticks) {
  long every = static_cast<long>(index + 1) * CHECKPOINT_TICKS;
  return every < ticks ? every : ticks;
}

// A state hash at each tick the game takes one, and none elsewhere (the
// last is at the last tick, checked before). This bounds the work a replay
// asks for by its size: one that claimed billions of ticks with a hash or
// two would keep a runner busy for days.
std::string check_checkpoints(const replay& r) {
  const std::string cadence = " (a replay holds one every " + std::to_string(CHECKPOINT_TICKS) +
                              " ticks and one for its last tick)";
  for (std::size_t k = 0; k < r.checkpoints.size(); ++k) {
    long expected = checkpoint_tick(k, r.ticks), found = r.checkpoints[k].tick;
    if (found < expected)
      return "a state hash for tick " + std::to_string(found) + ", which a replay does not hold" +
             cadence;
    if (found > expected)
      return "it has no state hash for tick " + std::to_string(expected) + cadence;
  }
  return "";
}

// Events and checkpoints within the ticks played, and the last tick's state
// there: a replay cut short loses its last lines first.
std::string check_ticks(replay& r) {
  auto by_tick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(r.events.begin(), r.events.end(), by_tick);
  std::stable_sort(r.checkpoints.begin(), r.checkpoints.end(), by_tick);
  for (std::size_t k = 1; k < r.checkpoints.size(); ++k)
    if (r.checkpoints[k].tick == r.checkpoints[k - 1].tick)
      return "two state hashes for tick " + std::to_string(r.checkpoints[k].tick);
  long last_event = r.events.empty() ? 0 : r.events.back().tick;
  long last_state = r.checkpoints.empty() ? 0 : r.checkpoints.back().tick;
  if (std::max(last_event, last_state) > r.ticks)
    return "tick " + std::to_string(std::max(last_event, last_state)) +
           " is after its last tick, " + std::to_string(r.ticks);
  if (last_state != r.ticks)
    return "it ends before the state of its last tick, " + std::to_string(r.ticks) +
           " (is it cut short?)";
  return check_checkpoints(r);
}
}  // namespace

const std::string REPLAY_PROGRAM = std::string("blobdemo ") + PROGRAM_VERSION;

std::string hash_text(std::uint64_t hash) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, hash);
  return text;
}

std::string replay_lines(const std::vector<key_event>& events,
                         const std::vector<state_checkpoint>& checkpoints) {
  std::string text;
  std::size_t e = 0;
  for (const state_checkpoint& c : checkpoints) {
    for (; e < events.size() && events[e].tick <= c.tick; ++e)
      text += key_event_line(events[e]) + "\n";
    text += "# state " + std::to_string(c.tick) + ": " + hash_text(c.hash) + "\n";
  }
  for (; e < events.size(); ++e) text += key_event_line(events[e]) + "\n";
  return text;
}

std::string replay_text(const replay& r) {
  std::string text = std::string(FIRST_LINE) + "\n";
  text += "# program: " + one_line(r.program) + "\n";
  text += "# level: " + one_line(r.level_path) + "\n";
  text += "# level-sha256: " + r.level_sha256 + "\n";
  text += "# ticks: " + std::to_string(r.ticks) + "\n";
  text += "# Key events: <tick> down|up <key>, handed to the objects after that tick's step.\n";
  text += "# State: FNV-1a (64-bit) of what blobrun prints after that tick.\n";
  return text + replay_lines(r.events, r.checkpoints);
}

bool parse_replay(const std::string& text, const std::string& name, replay& r, std::string& error) {
  r = replay{};
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line != FIRST_LINE) {
    error = name + ": not a replay: it does not begin with '" + FIRST_LINE + "'";
    return false;
  }
  replay_reader reader(r);
  for (long number = 2; std::getline(in, line); ++number) {
    std::string problem = reader.line(line);
    if (!problem.empty()) {
      error = name + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  std::string problem = reader.missing();
  if (problem.empty()) problem = check_ticks(r);
  if (!problem.empty()) error = name + ": " + problem;
  return problem.empty();
}

bool read_replay(const std::string& path, replay& r, std::string& error) {
  std::string text;
  return read_text_file(path, "replay", text, error) && parse_replay(text, path, r, error);
}

bool looks_like_replay(const std::vector<std::uint8_t>& bytes) {
  std::string first(FIRST_LINE);
  return bytes.size() > first.size() && std::equal(first.begin(), first.end(), bytes.begin()) &&
         (bytes[first.size()] == '\n' || bytes[first.size()] == '\r');
}
