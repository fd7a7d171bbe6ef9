// The game's side of replays: the event pass of a session that is recorded,
// or of one that plays a replay instead of the keyboard. It counts the
// ticks of the world made last: tick 1 is the first after record() or
// play().
//
// Recording keeps every key event the objects are handed, with the tick it
// was polled in, and a state hash every CHECKPOINT_TICKS ticks and at the
// last tick. Memory for about two hours of play is taken up front, so
// ticks do not allocate. Playing hands the objects the replay's events
// instead of the keyboard's, which only Escape gets through, checks every
// state hash, and ends the game after the replay's last tick or its own
// Escape.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "replay/replay_check.h"
#include "replay/replay_file.h"
#include "shell/game.h"

class replay_session : public key_source {
 public:
  // `program` names the build in the replays it records and verdicts.
  explicit replay_session(std::string program = REPLAY_PROGRAM);
  ~replay_session() override;

  // Records from the next tick on; the level is named by its path and the
  // SHA-256 of its bytes.
  void record(const std::string& level_path, const std::string& level_sha256);

  // Ends the recording after the last tick run, with that tick's state: the
  // moment to call it is before the world it recorded is replaced.
  void stop_recording();

  // Plays `r` from the next tick on; it must be played on its own level.
  // Ends any recording (what it recorded is dropped).
  void play(replay r);

  bool event_pass() override;

  bool recording() const { return mode_ == mode::recording; }
  bool playing() const { return mode_ == mode::playing; }

  // What was recorded, once the recording has ended (its `ticks` is 0 when
  // no tick was).
  const replay& recorded() const { return recorded_; }

  // The lines of the key events and state hashes recorded since the last
  // call (since record(), the first time), as the replay's file holds
  // them: for a thread that writes the recording to disk while the game
  // runs, which may call it at any time.
  std::string new_recorded_lines();

  // The verdict on the replay played, over the ticks it ran before it ended
  // or was replaced by a recording (see replay_check), and whether its
  // states differed from the replay's.
  std::string verdict() const;
  bool replay_differs() const;

 private:
  enum class mode { plain, recording, playing };

  bool record_keys();
  void keep(const key_event& event);
  void keep(const state_checkpoint& checkpoint);
  bool play_keys();

  std::string program_;
  mode mode_ = mode::plain;
  long tick_ = 0;
  replay recorded_;  // grown under lines_lock_, which new_recorded_lines() takes
  std::mutex lines_lock_;
  std::size_t events_said_ = 0, checkpoints_said_ = 0;  // by new_recorded_lines()
  replay played_;
  long played_ticks_ = 0;  // ticks of the replay run so far
  std::size_t next_event_ = 0;
  std::unique_ptr<replay_check> check_;
};
