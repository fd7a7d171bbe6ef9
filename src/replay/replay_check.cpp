#include "replay/replay_check.h"

#include <utility>

#include "replay/state_dump.h"
#include "shell/shown_text.h"

replay_check::replay_check(const replay& r, std::string program)
    : replay_(r), program_(std::move(program)) {}

bool replay_check::after_tick(long tick) {
  if (differs()) return false;
  const auto& checkpoints = replay_.checkpoints;
  if (next_ >= checkpoints.size() || checkpoints[next_].tick != tick) return true;
  std::uint64_t found = state_hash(tick);
  if (found != checkpoints[next_].hash) {
    differs_at_ = tick;
    found_ = found;
    return false;
  }
  matched_ = tick;
  ++next_;
  return true;
}

std::string replay_check::last_match() const {
  return matched_ ? "the last that matched is tick " + std::to_string(matched_)
                  : "no checkpoint before it matched";
}

std::string replay_check::verdict(long ticks_run) const {
  if (differs()) {
    bool same_build = replay_.program.empty() || replay_.program == program_;
    std::string versions = same_build ? ""
                                      : " (recorded by " + shown_text(replay_.program) +
                                            ", replayed by " + program_ + ")";
    return "replay differs at the checkpoint of tick " + std::to_string(differs_at_) +
           ": the state's hash is " + hash_text(found_) + ", the replay's " +
           hash_text(replay_.checkpoints[next_].hash) + "; " + last_match() + versions;
  }
  if (ticks_run < replay_.ticks)
    return "replay stopped at tick " + std::to_string(ticks_run) + " of " +
           std::to_string(replay_.ticks) + "; it matched so far (" +
           (matched_ ? "checkpoints up to tick " + std::to_string(matched_) : "no checkpoint yet") +
           ")";
  return "replay matches: " + std::to_string(replay_.ticks) + " ticks";
}
