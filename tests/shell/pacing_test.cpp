// The fixed-rate loop, driven by injected clock readings: which passes tick,
// which sleep, how a late pass is caught up and how a stall is dropped.
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

// How many ticks are due back to back at one clock reading.
int ticks_due_at(frame_pacer& pacer, std::uint32_t now) {
  int ticks = 0;
  while (pacer.tick_due(now)) ++ticks;
  return ticks;
}

TEST(FramePacer, SeventeenMillisecondsOrLessSleeps) {
  frame_pacer pacer(1000);
  EXPECT_FALSE(pacer.tick_due(1017));  // 17 owed
  EXPECT_TRUE(pacer.tick_due(1018));   // 18 owed: tick, 1 left
  EXPECT_FALSE(pacer.tick_due(1018));
  EXPECT_FALSE(pacer.tick_due(1034));  // 17 owed again
  EXPECT_TRUE(pacer.tick_due(1035));
}

TEST(FramePacer, ClockWrapAroundIsHarmless) {
  frame_pacer pacer(0xFFFFFFF0u);
  EXPECT_TRUE(pacer.tick_due(0x00000010u));   // 32 ms across the wrap: tick, 15 left
  EXPECT_FALSE(pacer.tick_due(0x00000012u));  // 17
  EXPECT_TRUE(pacer.tick_due(0x00000013u));   // 18
}

// Up to a quarter of a second owed is paid back to back; more is a stall,
// dropped but for one tick, whether it lasted 251 ms, 5 s, a 30-day suspend
// (past the 32-bit signed range of milliseconds) or a whole turn of the clock.
// Each stall comes with 17 ms owed: the owed time added to a stall of nearly
// a whole turn would wrap past 2^32.
TEST(FramePacer, StallsBeyondAQuarterSecondAreDroppedButForOneTick) {
  frame_pacer pacer(0);
  EXPECT_EQ(ticks_due_at(pacer, 250), 14) << "250 owed: 14 ticks, 12 ms left";
  EXPECT_EQ(ticks_due_at(pacer, 256), 1) << "18 owed";
  std::uint32_t now = 256;
  EXPECT_EQ(ticks_due_at(pacer, now + 16), 0) << "1 + 16 owed";
  now += 16;
  for (std::uint32_t stall : {234u, 5000u, 30u * 86400000u, 0xFFFFFFF0u}) {
    now += stall;
    EXPECT_EQ(ticks_due_at(pacer, now), 1) << "after a stall of " << stall << " ms";
    EXPECT_EQ(ticks_due_at(pacer, now + 16), 0) << "1 + 16 owed";
    now += 16;
  }
  EXPECT_EQ(ticks_due_at(pacer, now + 1), 1) << "then the wall clock again";
  // 1 ms is owed after that last tick; 249 more is not yet a stall.
  EXPECT_EQ(ticks_due_at(pacer, now + 250), 14);
}

// A machine too slow for the tick: each pass is 40 ms after the last and
// runs one tick, so 23 ms more are owed every pass. When the machine is fast
// again (the clock stands still between passes), what it owes is paid back
// to back: at most a quarter of a second, never the four seconds it fell
// behind.
TEST(FramePacer, ASlowMachineNeverOwesMoreThanAQuarterSecond) {
  frame_pacer pacer(0);
  for (std::uint32_t now = 40; now <= 4000; now += 40) EXPECT_TRUE(pacer.tick_due(now)) << now;
  int catch_up = ticks_due_at(pacer, 4000);
  EXPECT_GE(catch_up, 1);
  EXPECT_LE(catch_up, 14);
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

TEST(MainLoop, StallOfFiveSecondsRunsOneTickThenSleeps) {
  // A reading 5 s after the last: one tick, not 294 back to back.
  std::string trace = run_script({0, 18, 5018, 5018, 5033, 5035}, 3);
  EXPECT_EQ(trace, "T T S15 S15 T ");
}

TEST(MainLoop, QuitEndsTheLoopAfterThatTick) {
  EXPECT_EQ(run_script({0, 100, 100, 100, 100}, 2), "T T ");
}
