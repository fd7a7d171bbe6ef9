// Frame pacing: a tick runs once more than 17 ms of real time are owed and
// consumes exactly 17 ms; otherwise the loop sleeps 15 ms. A pass that comes
// late owes more, and the following passes tick back to back until the debt
// is paid, so the game keeps to the wall clock on average. A stall is
// different: a suspended machine, a debugger, a frozen or hidden browser tab.
// Once more than STALL_MS are owed, the debt is dropped but for one tick: the
// game goes on from where it stood instead of fast-forwarding through the
// time it missed. The clock is injected, so tests drive it exactly.
#pragma once

#include <cstdint>

constexpr std::uint32_t TICK_MS = 17;    // simulated time per tick
constexpr std::uint32_t SLEEP_MS = 15;   // real sleep while no tick is owed
constexpr std::uint32_t STALL_MS = 250;  // owed time beyond this is dropped

class frame_pacer {
 public:
  explicit frame_pacer(std::uint32_t now) : last_reading_(now) {}

  // Takes a clock reading (ms; wrap-around is harmless) and says whether a
  // tick is due now, consuming 17 ms if so. False means: sleep SLEEP_MS.
  // At most STALL_MS / TICK_MS (14) ticks are ever due back to back.
  bool tick_due(std::uint32_t now) {
    std::uint32_t elapsed = now - last_reading_;  // the clock only goes forward
    last_reading_ = now;
    if (elapsed > STALL_MS - owed_)
      owed_ = TICK_MS + 1;  // a stall: just enough for one tick
    else
      owed_ += elapsed;
    if (owed_ <= TICK_MS) return false;
    owed_ -= TICK_MS;
    return true;
  }

 private:
  std::uint32_t owed_ = 0;  // ms of real time not yet simulated; at most STALL_MS
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
