// blobdemo --record and --replay: the game recorded into a replay file, and
// a replay file shown in the game.
#pragma once

#include <string>

// Plays `level` as `blobdemo LEVEL` does and writes the session to
// `replay_path` when the game ends (Escape, Ctrl-C, kill): whole, or not at
// all. Refuses at once, with one line, a replay path that cannot be
// written. Returns the exit status.
int record_session(const std::string& replay_path, const std::string& level, int argc, char** argv);

// Shows the replay at the game's pace on its level (`level`, when not
// empty, else the one it names), then says whether it matched. Only Escape
// gets through from the keyboard. Returns 0 when it matched (or Escape cut
// it short), 1 when it differed or cannot be played.
int show_replay(const std::string& replay_path, const std::string& level, int argc, char** argv);
