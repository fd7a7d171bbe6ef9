#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. a build with AddressSanitizer and UndefinedBehaviorSanitizer, running
#      the unit tests;
#   2. every fuzz target: its corpus replayed, then BLOB_FUZZ_SECONDS (30) of
#      fuzzing each;
#   3. the browser build (scripts/web.sh), the Windows build
#      (scripts/windows.sh) and the runner built for newer CPUs, then the
#      normal build and all its tests (under
#      private Xvfb servers), the browser's and Windows' (under Wine) among
#      them.
# Usage: scripts/test.sh [--quick]   (--quick runs only stage 3)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
quick=0
[ "${1:-}" = "--quick" ] && quick=1
jobs=$(nproc)

"$top/scripts/install-deps.sh"

if [ "$quick" -eq 0 ]; then
  echo "== sanitizer build: unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S "$top" -B "$top/build/asan" -DCMAKE_BUILD_TYPE=Debug -DBLOB_SANITIZE=ON -DBLOB_WERROR=ON >/dev/null
  cmake --build "$top/build/asan" -j "$jobs"
  (cd "$top/build/asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest -L unit --output-on-failure -j "$jobs")

  fuzz_seconds=${BLOB_FUZZ_SECONDS:-30}
  echo "== fuzzing: each target's corpus replayed, then ${fuzz_seconds} s of fuzzing"
  for target in $("$top/scripts/fuzz.sh" --list); do
    "$top/scripts/fuzz.sh" "$target" "$fuzz_seconds"
  done
fi

echo "== browser build"
"$top/scripts/install-deps.sh" --web-tests
"$top/scripts/web.sh"

echo "== Windows build"
"$top/scripts/windows.sh"

echo "== the runner built for newer CPUs (-march=x86-64-v3), which must give the same bits"
march="$top/build/x86-64-v3"
cmake -S "$top" -B "$march" -DCMAKE_BUILD_TYPE=Release -DBLOB_BUILD_TESTS=OFF -DBLOB_WERROR=ON \
  -DCMAKE_C_FLAGS=-march=x86-64-v3 -DCMAKE_CXX_FLAGS=-march=x86-64-v3 >/dev/null
cmake --build "$march" -j "$jobs" --target blobrun

echo "== build and every test"
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOB_WERROR=ON \
  -DBLOB_TEST_WEB=ON -DBLOB_TEST_WINDOWS=ON \
  -DBLOB_TEST_MARCH_BLOBRUN="$march/bin/blobrun" >/dev/null
cmake --build "$top/build/release" -j "$jobs"
cd "$top/build/release"
ctest --output-on-failure -j "$jobs"
