// Replay files: a session of the game as text. The key events are lines of
// blobrun's key scripts (`<tick> down|up <key>`), so a replay is also a key
// script; comment lines carry what a replay needs besides:
//
//   # blobdemo replay
//   # program: blobdemo 1.0
//   # level: /home/me/levels/valley.tmj
//   # level-sha256: <64 hexadecimal digits>
//   # ticks: 3600
//   12 down Right
//   # state 100: <16 hexadecimal digits>
//   ...
//
// The level's hash is of the level file's bytes (for a level source, of the
// level file built from it). A `state` line holds state_hash() after that
// tick's key events: every CHECKPOINT_TICKS ticks, and at the last tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/key_script.h"

constexpr long CHECKPOINT_TICKS = 100;  // ticks between two state hashes

// "blobdemo <version>": the desktop build's name in the replays it records.
extern const std::string REPLAY_PROGRAM;

struct state_checkpoint {
  long tick;
  std::uint64_t hash;
};

struct replay {
  std::string program;  // the program and version that recorded it
  std::string level_path;
  std::string level_sha256;
  long ticks = 0;                             // ticks played
  std::vector<key_event> events;              // in tick order
  std::vector<state_checkpoint> checkpoints;  // in tick order, the last at `ticks`
};

// A state hash as the file writes it: 16 hexadecimal digits.
std::string hash_text(std::uint64_t hash);

// The key event and state hash lines, each list in tick order, merged in
// tick order as the file holds them (a tick's events before its state).
std::string replay_lines(const std::vector<key_event>& events,
                         const std::vector<state_checkpoint>& checkpoints);

// The file's text, events and state lines in tick order.
std::string replay_text(const replay& r);

// Reads and checks a replay. False with one line in error, naming the file
// (`name`) and, for a bad line, its number. A replay must have every header
// line, and a state hash every CHECKPOINT_TICKS ticks and at its last tick,
// as the game writes them: one cut short, or one that asks for many more
// ticks than it holds hashes, is refused.
bool parse_replay(const std::string& text, const std::string& name, replay& r, std::string& error);
bool read_replay(const std::string& path, replay& r, std::string& error);

// Whether these bytes begin as a replay does (its first line).
bool looks_like_replay(const std::vector<std::uint8_t>& bytes);
