// The tests' main: GoogleTest's own, except that a run in which a test
// skipped itself (GTEST_SKIP) and none failed exits with SKIPPED_STATUS,
// which CTest reports as "Skipped" (SKIP_RETURN_CODE), never as "Passed".
#include <gtest/gtest.h>

namespace {
constexpr int SKIPPED_STATUS = 77;
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int status = RUN_ALL_TESTS();
  if (status == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0)
    return SKIPPED_STATUS;
  return status;
}
