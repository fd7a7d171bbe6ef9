// Holds a run of the simulation to a replay's state hashes: blobrun and the
// game call it after each tick's key events, and it says at the end whether
// the run matched, or where the two parted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "replay/replay_file.h"

class replay_check {
 public:
  // `program` names the one running the replay, for the verdict.
  replay_check(const replay& r, std::string program);

  // Compares the state after `tick` with the replay's hash for that tick,
  // when it has one (ticks in order, from 1). Returns false once a state
  // has differed; later ticks are then not compared.
  bool after_tick(long tick);

  bool differs() const { return differs_at_ != 0; }

  // One line: "replay matches: N ticks" when every state matched up to the
  // replay's last tick; otherwise the first checkpoint that differed and
  // the last that matched, or how far a run stopped early got.
  std::string verdict(long ticks_run) const;

 private:
  std::string last_match() const;

  const replay& replay_;
  std::string program_;
  std::size_t next_ = 0;  // the next checkpoint to compare
  long matched_ = 0;      // tick of the last checkpoint that matched
  long differs_at_ = 0;   // tick of the first that did not
  std::uint64_t found_ = 0;
};
