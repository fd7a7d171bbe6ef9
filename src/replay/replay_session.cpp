#include "replay/replay_session.h"

#include <utility>

#include "replay/state_dump.h"
#include "shell/stop_signal.h"

namespace {
// About two hours at 59 ticks a second: 7,000 state hashes, and a key
// event every quarter of a second.
constexpr std::size_t CHECKPOINTS_RESERVED = 7'000;
constexpr std::size_t EVENTS_RESERVED = 1 << 15;

bool is_key(const SDL_Event& event) { return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP; }
}  // namespace

replay_session::replay_session(std::string program) : program_(std::move(program)) {}
replay_session::~replay_session() = default;

void replay_session::record(const std::string& level_path, const std::string& level_sha256) {
  std::lock_guard<std::mutex> lock(lines_lock_);
  recorded_ = replay{};
  recorded_.program = program_;
  recorded_.level_path = level_path;
  recorded_.level_sha256 = level_sha256;
  recorded_.events.reserve(EVENTS_RESERVED);
  recorded_.checkpoints.reserve(CHECKPOINTS_RESERVED);
  events_said_ = checkpoints_said_ = 0;
  mode_ = mode::recording;
  tick_ = 0;
}

void replay_session::stop_recording() {
  if (!recording()) return;
  mode_ = mode::plain;
  std::lock_guard<std::mutex> lock(lines_lock_);
  recorded_.ticks = tick_;
  if (tick_ > 0 && (recorded_.checkpoints.empty() || recorded_.checkpoints.back().tick != tick_))
    recorded_.checkpoints.push_back({tick_, state_hash(tick_)});
}

void replay_session::play(replay r) {
  if (recording()) {
    std::lock_guard<std::mutex> lock(lines_lock_);
    recorded_ = replay{};
    events_said_ = checkpoints_said_ = 0;
  }
  played_ = std::move(r);
  check_ = std::make_unique<replay_check>(played_, program_);
  next_event_ = 0;
  played_ticks_ = 0;
  mode_ = mode::playing;
  tick_ = 0;
}

bool replay_session::event_pass() {
  ++tick_;
  switch (mode_) {
    case mode::recording:
      return record_keys();
    case mode::playing:
      return play_keys();
    case mode::plain:
      break;
  }
  return ::event_pass() || stop_signal_received();
}

// Within the memory reserved, these take the lock and allocate nothing.
void replay_session::keep(const key_event& event) {
  std::lock_guard<std::mutex> lock(lines_lock_);
  recorded_.events.push_back(event);
}

void replay_session::keep(const state_checkpoint& checkpoint) {
  std::lock_guard<std::mutex> lock(lines_lock_);
  recorded_.checkpoints.push_back(checkpoint);
}

// The plain event pass, keeping each key as it goes by. A signal to stop
// ends the game after this whole tick, so the recording holds whole ticks.
bool replay_session::record_keys() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (is_key(event)) keep(key_event{tick_, event.type == SDL_KEYDOWN, event.key.keysym.sym});
    if (dispatch_event(event)) quit = true;
  }
  if (tick_ % CHECKPOINT_TICKS == 0) keep(state_checkpoint{tick_, state_hash(tick_)});
  quit = quit || stop_signal_received();
  if (quit) stop_recording();
  return quit;
}

std::string replay_session::new_recorded_lines() {
  std::vector<key_event> events;
  std::vector<state_checkpoint> checkpoints;
  {
    std::lock_guard<std::mutex> lock(lines_lock_);
    events.assign(recorded_.events.begin() + static_cast<std::ptrdiff_t>(events_said_),
                  recorded_.events.end());
    checkpoints.assign(
        recorded_.checkpoints.begin() + static_cast<std::ptrdiff_t>(checkpoints_said_),
        recorded_.checkpoints.end());
    events_said_ = recorded_.events.size();
    checkpoints_said_ = recorded_.checkpoints.size();
  }
  return replay_lines(events, checkpoints);
}

// The keyboard can only end the replay; the objects get the replay's keys.
// The replay's own Escape ends it as it ended the game it recorded, which
// is on its last tick in every replay the game writes.
bool replay_session::play_keys() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) quit = true;
  const auto& events = played_.events;
  for (; next_event_ < events.size() && events[next_event_].tick == tick_; ++next_event_)
    if (dispatch_event(sdl_key_event(events[next_event_]))) quit = true;
  check_->after_tick(tick_);
  played_ticks_ = tick_;
  if (quit || tick_ >= played_.ticks || stop_signal_received()) {
    mode_ = mode::plain;
    return true;
  }
  return false;
}

std::string replay_session::verdict() const { return check_ ? check_->verdict(played_ticks_) : ""; }

bool replay_session::replay_differs() const { return check_ && check_->differs(); }
