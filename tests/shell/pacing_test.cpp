// The fixed-rate loop, driven by injected clock readings: which passes tick,
// which sleep, and how a stall is caught up.
#include "shell/pacing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Runs the real loop against a scripted clock. Each pass of the loop reads
// the clock once; readings come from `readings` (the first is the start-up
// reading). The script records "T" for a tick and "S15" for a sleep, and the
// loop quits after `ticks_to_run` ticks.
std::string run_script(std::vector<std::uint32_t> readings, int ticks_to_run) {
  std::size_t next = 0;
  std::string trace;
  int ticks = 0;
  run_paced_loop([&] { return next < readings.size() ? readings[next++] : readings.back(); },
                 [&](std::uint32_t ms) {
                   trace += "S" + std::to_string(ms) + " ";
                   if (next >= readings.size())
                     ADD_FAILURE() << "clock script ran out while sleeping";
                 },
                 [&] {
                   trace += "T ";
                   return ++ticks >= ticks_to_run;
                 });
  return trace;
}
}  // namespace

TEST(FramePacer, SeventeenMillisecondsOrLessSleeps) {
  frame_pacer pacer(1000);
  EXPECT_FALSE(pacer.tick_due(1017));
  EXPECT_EQ(pacer.owed_ms(), 17);
  EXPECT_TRUE(pacer.tick_due(1018));  // 18 owed: tick, 1 left
  EXPECT_EQ(pacer.owed_ms(), 1);
  EXPECT_FALSE(pacer.tick_due(1018));
}

TEST(FramePacer, ClockWrapAroundIsHarmless) {
  frame_pacer pacer(0xFFFFFFF0u);
  EXPECT_TRUE(pacer.tick_due(0x00000010u));  // 32 ms across the wrap
  EXPECT_EQ(pacer.owed_ms(), 15);
}

TEST(FramePacer, SteadyClockTicksEvery17MsOnAverage) {
  frame_pacer pacer(0);
  int ticks = 0;
  // A loop that reads the clock after each 15 ms sleep: 1020 ms of readings.
  for (std::uint32_t now = 15; now <= 1020; now += 15)
    while (pacer.tick_due(now)) ++ticks;
  EXPECT_EQ(ticks, 59);  // (1020 - 17) / 17 rounded down, plus the first
}

TEST(MainLoop, SleepsUntilATickIsOwedThenTicksOnce) {
  // 10 and 17 owed: sleep; 25 owed: tick.
  EXPECT_EQ(run_script({0, 10, 17, 25}, 1), "S15 S15 T ");
}

TEST(MainLoop, StallOf100MsIsCaughtUpBackToBack) {
  // Start at 0, one tick at 18 (1 left), then a stall: the next reading is
  // 118, so 101 ms are owed. Passes tick without sleeping until 17 or less
  // remain: 101 -> 84 -> 67 -> 50 -> 33 -> 16: five ticks, then sleep.
  std::string trace = run_script({0, 18, 118, 118, 118, 118, 118, 118, 133}, 7);
  EXPECT_EQ(trace, "T T T T T T S15 T ");
}

TEST(MainLoop, StallWithFullDebtRunsSixTicks) {
  // 17 owed before a 100 ms stall: 117 -> 100 -> 83 -> 66 -> 49 -> 32 -> 15.
  std::string trace = run_script({0, 17, 117, 117, 117, 117, 117, 117, 117, 150}, 7);
  EXPECT_EQ(trace, "S15 T T T T T T S15 T ");
}

TEST(MainLoop, QuitEndsTheLoopAfterThatTick) {
  EXPECT_EQ(run_script({0, 100, 100, 100, 100}, 2), "T T ");
}
