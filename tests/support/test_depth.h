// How much work a test's random and exhaustive runs do. The "unit" label
// runs every test after each change, also under the sanitizers, and must be
// quick: there a run does a part of its work, the same checks on fewer
// points, inputs or ticks. The "deep" label runs the same binary once per CI
// in the optimised build with BLOB_TEST_DEEP=1 set, and the runs do all of it.
#pragma once

#include <cstdlib>
#include <cstring>

inline bool deep_test_run() {
  const char* deep = std::getenv("BLOB_TEST_DEEP");
  return deep && std::strcmp(deep, "1") == 0;
}

// `whole` in a deep run, `part` otherwise.
template <typename T>
T deep_or(T whole, T part) {
  return deep_test_run() ? whole : part;
}
