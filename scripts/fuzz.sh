#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs one of them.
#
#   scripts/fuzz.sh --list                 names the targets
#   scripts/fuzz.sh TARGET [SECONDS]       replays TARGET's corpus, then fuzzes
#                                          it for SECONDS (default 60)
#   scripts/fuzz.sh --replay TARGET        replays the corpus only
#   scripts/fuzz.sh --build-only TARGET... builds the targets' fuzzers and stops
# Options, before the target: --scratch DIR keeps the new inputs in DIR (a
# long campaign; default a temporary folder), --log FILE keeps the fuzzer's
# output there (default build/fuzz/TARGET.log), --build DIR builds there
# (default build/fuzz), --no-build runs the fuzzer already built there (so
# that several targets can run at once from one build folder). Anything
# after -- goes to libFuzzer.
#
# TARGET is the name of tests/fuzz/TARGET_fuzz.cpp; its seed corpus is
# tests/fuzz/corpus/TARGET, which this script never changes. New inputs worth
# keeping are merged into it by hand, those that reach code the corpus does
# not (counting edges only keeps the corpus small):
#   build/fuzz/tests/fuzz/TARGET_fuzz -use_counters=0 -merge=1 tests/fuzz/corpus/TARGET SCRATCH
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
scratch=""
log=""
replay_only=0
build_only=0
no_build=0

usage() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}

list_targets() {
  for source in "$top"/tests/fuzz/*_fuzz.cpp; do
    basename "$source" _fuzz.cpp
  done
}

# Limits that keep each target fast: inputs of the size real files have.
target_flags() {
  case "$1" in
    level) echo "-max_len=1024" ;;
    level_play) echo "-max_len=256" ;;
    # Sources large enough (up to 16 MiB, some 250,000 items) that a reader
    # whose time grows faster than its input runs into the timeout.
    level_source) echo "-max_len=16777216 -dict=$top/tests/fuzz/json.dict" ;;
    picture) echo "-max_len=65536" ;;
    replay) echo "-max_len=4096" ;;
    # Some thirty triangles: filing and clearing them is most of an
    # input's time; the deep runs take the largest levels.
    terrain_index) echo "-max_len=1024" ;;
  esac
}

while [ $# -gt 0 ]; do
  case "$1" in
    --list) list_targets; exit 0 ;;
    --replay) replay_only=1; shift ;;
    --build-only) build_only=1; shift ;;
    --no-build) no_build=1; shift ;;
    --scratch) scratch=$2; shift 2 ;;
    --log) log=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    -h | --help) usage ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || usage
# check_target NAME: refuses a name that is not a target.
check_target() {
  if ! list_targets | grep -x "$1" >/dev/null; then
    echo "fuzz.sh: no target \"$1\"; the targets are: $(list_targets | tr '\n' ' ')" >&2
    exit 2
  fi
}
if [ "$build_only" -eq 1 ]; then
  targets=("$@")
else
  targets=("$1")
  shift
fi
for target in "${targets[@]}"; do
  check_target "$target"
done
target=${targets[0]}
seconds=60
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
[ "${1:-}" = "--" ] && shift

# build_targets: configures the fuzz build once and builds the targets'
# fuzzers.
build_targets() {
  # The picture target reaches the system's picture decoders: built from
  # Debian's sources with the fuzzer's instrumentation (once, then kept), so
  # that it sees their branches. Without them it fuzzes them blind.
  decoders=()
  if printf '%s\n' "${targets[@]}" | grep -x picture >/dev/null; then
    if prefix=$("$top/scripts/fuzz-decoders.sh"); then
      decoders=(-DBLOB_FUZZ_DECODERS="$prefix")
    else
      echo "fuzz.sh: the picture target runs the system's decoders, which it cannot see into" >&2
      decoders=(-DBLOB_FUZZ_DECODERS=)
    fi
  fi

  # Optimised a little (-O1, as libFuzzer advises), with assertions kept.
  CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DBLOB_BUILD_FUZZ=ON \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DBLOB_BUILD_TESTS=OFF -DBLOB_BUILD_TOOLS=ON "${decoders[@]}" >/dev/null
  local names=("${targets[@]/%/_fuzz}")
  build_log="$build/${target}_fuzz.build.log"
  if ! cmake --build "$build" --target "${names[@]}" -j "$(nproc)" >"$build_log" 2>&1; then
    tail -n 40 "$build_log"
    echo "fuzzing ${targets[*]}: FAILED (building ${names[*]}; full log: $build_log)"
    exit 1
  fi
}

[ "$no_build" -eq 1 ] || build_targets
[ "$build_only" -eq 1 ] && exit 0
binary="$build/tests/fuzz/${target}_fuzz"
if [ ! -x "$binary" ]; then
  echo "fuzz.sh: $binary is not built; build it first (fuzz.sh --build-only $target)" >&2
  exit 2
fi
corpus="$top/tests/fuzz/corpus/$target"
mkdir -p "$corpus"
log=${log:-"$build/$target.log"}
# shellcheck disable=SC2207
flags=($(target_flags "$target"))
# The corpus is replayed with standard error open: whatever ends a run there,
# a sanitizer's report, a library's last words before it exits, or the
# game's own messages, is in the log. Fuzzing closes it (-close_fd_mask=2),
# keeping millions of the game's messages about bad input out of the log;
# libFuzzer's and the sanitizers' reports still reach it.
common=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$(dirname "$log")/")

# fail WHAT STATUS: the end of the log, then what failed and how.
fail() {
  tail -n 100 "$log"
  if ! grep -q -E 'ERROR|ALARM|SUMMARY|deadly|out-of-memory|Test unit written' "$log"; then
    echo "-- neither libFuzzer nor the sanitizers reported a finding; the process ended with status $2"
  fi
  echo "fuzzing $target: FAILED ($1, exit status $2; full log: $log)"
  exit 1
}

# Every input of the corpus, whole, once.
mapfile -d '' inputs < <(find "$corpus" -type f -print0 | sort -z)
if [ ${#inputs[@]} -gt 0 ]; then
  "$binary" "${common[@]}" "${inputs[@]}" >"$log" 2>&1 || fail "replaying the corpus" $?
fi
echo "$target: replayed ${#inputs[@]} inputs of tests/fuzz/corpus/$target"
[ "$replay_only" -eq 1 ] && exit 0

if [ -z "$scratch" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
fi
mkdir -p "$scratch"
"$binary" "${common[@]}" -close_fd_mask=2 "${flags[@]}" "$@" -max_total_time="$seconds" -print_final_stats=1 \
  "$scratch" "$corpus" >>"$log" 2>&1 || fail "a finding" $?
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | sed "s/^/$target: /" || true
echo "fuzzing $target: no crash, leak, hang or broken promise"
