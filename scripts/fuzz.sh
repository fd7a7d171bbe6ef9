#!/usr/bin/env bash
# Builds the level-loader fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for the given number of seconds
# (default 60) from the seed corpus in tests/fuzz/corpus. New inputs go to a
# scratch folder, so the repository's corpus stays as it is.
# A second argument names another target: terrain_index_fuzz (the terrain
# index against the list walk) runs from tests/fuzz/terrain_index_corpus.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
target=${2:-level_fuzz}
corpus="$top/tests/fuzz/corpus"
[ "$target" = level_fuzz ] || corpus="$top/tests/fuzz/${target%_fuzz}_corpus"
build="$top/build/fuzz"
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DBLOB_BUILD_FUZZ=ON \
  -DBLOB_BUILD_TESTS=OFF -DBLOB_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" --target "$target" -j "$(nproc)"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# -close_fd_mask=2 silences the loader's warnings; crash reports still show.
# The fuzzer's progress goes to a log, shown in full only when it fails.
log="$build/$target.log"
if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -close_fd_mask=2 -print_final_stats=1 "$scratch" "$corpus" >"$log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
  echo "fuzzing: no crash, leak, hang or read past the data"
else
  tail -n 100 "$log"
  echo "fuzzing: FAILED (full log: $log)"
  exit 1
fi
