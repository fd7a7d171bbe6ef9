// Frame pacing: a tick runs once more than 17 ms of real time are owed and
// consumes exactly 17 ms; otherwise the loop sleeps 15 ms. Time lost to a
// stall stays owed, so the following passes tick back to back (no cap) until
// the debt is paid. The clock is injected, so tests drive it exactly.
#pragma once

#include <cstdint>

constexpr std::uint32_t TICK_MS = 17;   // simulated time per tick
constexpr std::uint32_t SLEEP_MS = 15;  // real sleep while no tick is owed

class frame_pacer {
 public:
  explicit frame_pacer(std::uint32_t now) : last_reading_(now) {}

  // Takes a clock reading (ms; wrap-around is harmless) and says whether a
  // tick is due now, consuming 17 ms if so. False means: sleep SLEEP_MS.
  bool tick_due(std::uint32_t now) {
    accumulator_ += static_cast<std::int32_t>(now - last_reading_);
    last_reading_ = now;
    if (accumulator_ <= static_cast<std::int32_t>(TICK_MS)) return false;
    accumulator_ -= TICK_MS;
    return true;
  }

  std::int32_t owed_ms() const { return accumulator_; }

 private:
  std::int32_t accumulator_ = 0;
  std::uint32_t last_reading_;
};

// The main loop: each pass reads the clock, then either runs one tick or
// sleeps. Ends after the tick that returns true (quit).
template <class Clock, class Sleep, class Tick>
void run_paced_loop(Clock now, Sleep sleep, Tick tick) {
  frame_pacer pacer(now());
  bool quit = false;
  while (!quit) {
    if (pacer.tick_due(now()))
      quit = tick();
    else
      sleep(SLEEP_MS);
  }
}
