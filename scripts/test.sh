#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. a build with AddressSanitizer and UndefinedBehaviorSanitizer, running
#      the unit tests (only what they run is built there);
#   2. every fuzz target: its corpus replayed, then BLOB_FUZZ_SECONDS (30) of
#      fuzzing each;
#   3. the browser build (scripts/web.sh), the Windows build
#      (scripts/windows.sh) and the runner built for newer CPUs, then the
#      normal build and all its tests (under
#      private Xvfb servers), the browser's and Windows' (under Wine) among
#      them, and the deep runs.
# Tests that skipped themselves are named at the end.
#
# Usage: scripts/test.sh [--quick] [--busy]
#   --quick   runs only stage 3
#   --busy    runs with four busy loops competing for the processors, as on
#             a machine that builds something else meanwhile: every time
#             limit must hold there too
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

# usage STATUS: the comment above, on standard error unless asked for.
usage() {
  local text
  text=$(awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0")
  if [ "$1" -eq 0 ]; then echo "$text"; else echo "$text" >&2; fi
  exit "$1"
}

quick=0
busy=0
for argument in "$@"; do
  case "$argument" in
    --quick) quick=1 ;;
    --busy) busy=1 ;;
    -h | --help) usage 0 ;;
    *) echo "test.sh: unknown argument \"$argument\"" >&2; usage 2 ;;
  esac
done
jobs=$(nproc)

# The busy loops, ended by their process ids however this script ends.
busy_loops=()
stop_busy_loops() {
  [ ${#busy_loops[@]} -gt 0 ] || return 0
  kill "${busy_loops[@]}" 2>/dev/null || true
  wait "${busy_loops[@]}" 2>/dev/null || true
  busy_loops=()
}

# Each ctest run's output is kept, so that the skipped tests can be named.
ctest_logs=$(mktemp -d)
name_skipped_tests() {
  local skipped
  skipped=$(cat "$ctest_logs"/* 2>/dev/null | grep -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' |
    sed -E 's/^[[:space:]]*[0-9]+ - //' || true)
  if [ -n "$skipped" ]; then
    echo "== skipped tests (they did not run, and did not pass):"
    echo "$skipped" | sed 's/^/  /'
  fi
}

finish() {
  local status=$?
  stop_busy_loops
  name_skipped_tests
  rm -rf "$ctest_logs"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

stage() {
  echo "== $1 (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"
}

# run_ctest LOG_NAME BUILD_DIR ARGS...
run_ctest() {
  local name=$1 dir=$2
  shift 2
  (cd "$dir" && ctest "$@") | tee "$ctest_logs/$name"
}

# fuzz_every_target SECONDS: builds every fuzzer, then runs them as many at
# a time as there are processors (a fuzzer uses one), each one's lines kept
# together.
fuzz_every_target() {
  local targets output status=0
  targets=$("$top/scripts/fuzz.sh" --list)
  # shellcheck disable=SC2086
  "${cached[@]}" "$top/scripts/fuzz.sh" --build-only $targets
  output=$(mktemp -d)
  # shellcheck disable=SC2016
  echo "$targets" | xargs -P "$jobs" -I '{}' sh -c '"$1" --no-build "$2" "$3" >"$4/$2" 2>&1' \
    sh "$top/scripts/fuzz.sh" '{}' "$1" "$output" || status=$?
  for target in $targets; do
    cat "$output/$target"
  done
  rm -rf "$output"
  return "$status"
}

"$top/scripts/install-deps.sh"

# The compiler's results are kept beside the other caches, so that a second
# run, even from a fresh clone in the same place, compiles only what
# changed: the native, fuzzing and Windows builds go through it (not the
# browser's, whose compiler it does not know).
cached=()
if command -v ccache >/dev/null; then
  export CCACHE_DIR="${BLOB_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/blobdemo}/ccache"
  export CCACHE_BASEDIR="$top" CCACHE_MAXSIZE=2G
  # The tests' shared GoogleTest header is precompiled.
  export CCACHE_SLOPPINESS=pch_defines,time_macros
  cached=(env CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

if [ "$busy" -eq 1 ]; then
  for _ in 1 2 3 4; do
    sh -c 'while :; do :; done' &
    busy_loops+=($!)
  done
  echo "== four busy loops run meanwhile: ${busy_loops[*]}"
fi

if [ "$quick" -eq 0 ]; then
  stage "sanitizer build: unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
  "${cached[@]}" cmake -S "$top" -B "$top/build/asan" -DCMAKE_BUILD_TYPE=Debug -DBLOB_SANITIZE=ON -DBLOB_WERROR=ON >/dev/null
  cmake --build "$top/build/asan" -j "$jobs" --target blob_unit_tests
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_ctest asan "$top/build/asan" -L unit --output-on-failure -j "$jobs"

  fuzz_seconds=${BLOB_FUZZ_SECONDS:-30}
  stage "fuzzing: each target's corpus replayed, then ${fuzz_seconds} s of fuzzing"
  fuzz_every_target "$fuzz_seconds"
fi

stage "browser build"
"$top/scripts/install-deps.sh" --web-tests
"$top/scripts/web.sh"

stage "Windows build"
"${cached[@]}" "$top/scripts/windows.sh"

stage "the runner built for newer CPUs (-march=x86-64-v3), which must give the same bits"
march="$top/build/x86-64-v3"
"${cached[@]}" cmake -S "$top" -B "$march" -DCMAKE_BUILD_TYPE=Release -DBLOB_BUILD_TESTS=OFF -DBLOB_WERROR=ON \
  -DCMAKE_C_FLAGS=-march=x86-64-v3 -DCMAKE_CXX_FLAGS=-march=x86-64-v3 >/dev/null
cmake --build "$march" -j "$jobs" --target blobrun

stage "build and every test"
# Optimised as scripts/play.sh builds the game (-O2), but without debugging
# information, which took two fifths of the compile and which no test here
# reads: the sanitizer build above keeps it for its reports.
"${cached[@]}" cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DBLOB_WERROR=ON \
  -DBLOB_TEST_WEB=ON -DBLOB_TEST_WINDOWS=ON \
  -DBLOB_TEST_MARCH_BLOBRUN="$march/bin/blobrun" >/dev/null
cmake --build "$top/build/release" -j "$jobs"
# One test more at once than processors, since the tests that start Wine,
# a browser or the game spend a fifth of their time waiting: the long ones
# start first (their COST), and none of them runs alone.
run_ctest release "$top/build/release" --output-on-failure -j "$((jobs + 1))"
stage "done"
