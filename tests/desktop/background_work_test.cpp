// Work the game hands to a thread of its own: taken when it is done, and
// abandoned, never waited for, when the game drops it (a game that ends
// while a large level still builds ends at once).
#include "desktop/background_work.h"

#include <gtest/gtest.h>

TEST(BackgroundWork, IsTakenWhenDoneAndNeverWaitedFor) {
  std::promise<void> release;
  std::shared_future<void> gate = release.get_future().share();
  std::future<int> held = in_background([gate] {
    gate.wait();
    return 1;
  });
  EXPECT_FALSE(work_done(held));
  {
    std::future<int> dropped = in_background([gate] {
      gate.wait();
      return 2;
    });
  }  // std::async's future would wait here for ever
  release.set_value();
  held.wait();
  EXPECT_TRUE(work_done(held));
  EXPECT_EQ(held.get(), 1);
  EXPECT_FALSE(work_done(held)) << "taken once";
}
