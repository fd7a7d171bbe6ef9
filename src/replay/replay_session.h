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
// state hash, and ends the game after the replay's last tick.
#pragma once

#include <memory>
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

  // The verdict on the replay played (see replay_check), and whether its
  // states differed from the replay's.
  std::string verdict() const;
  bool replay_differs() const;

 private:
  enum class mode { plain, recording, playing };

  bool record_keys();
  bool play_keys();

  std::string program_;
  mode mode_ = mode::plain;
  long tick_ = 0;
  replay recorded_;
  replay played_;
  std::size_t next_event_ = 0;
  std::unique_ptr<replay_check> check_;
};
