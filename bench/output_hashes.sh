#!/usr/bin/env bash
# Prints a hash of blobrun's tick-by-tick output for every level and key
# script a speed-up must leave alone: the test scenes, the demo level, the
# fuzz corpora, synthetic levels of every size, the huge pile and files of
# random bytes. Run it before and after a change and diff the two lists;
# any line that differs names a run whose simulation changed.
#   bench/output_hashes.sh BUILD_DIR [OUT_FILE]
# BUILD_DIR must hold bin/blobrun and bin/synthlevel.
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(realpath -m "${2:-/dev/stdout}")
root=$(cd "$(dirname "$0")/.." && pwd)
blobrun=$build/bin/blobrun
synth=$build/bin/synthlevel
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A busy key script: every key, pressed and let go in a fixed pseudo-random
# pattern, with control passed round often.
busy=$work/busy.events
: >"$busy"
state=7
keys=(Left Right Up Down Tab)
for tick in $(seq 2 3 600); do
  state=$(((state * 1103515245 + 12345) % 2147483648))
  key=${keys[$(((state >> 8) % 5))]}
  echo "$tick down $key" >>"$busy"
  echo "$((tick + 1 + (state >> 16) % 2)) up $key" >>"$busy"
done
none=$work/none.events
: >"$none"

scripts=("$busy" "$none" "$root"/tests/blob/data/*.events "$root/tests/web/data/demo_play.events")

# Every level is copied under a plain name and run from the work folder:
# warnings name the file, and the hashes must not depend on where it lies.
cd "$work"
levels=()
add() { cp "$1" "$2" && levels+=("$2"); }
for f in "$root"/tests/blob/data/*.map; do add "$f" "scene_$(basename "$f")"; done
add "$root/data/level.map" demo.map
for f in "$root"/tests/fuzz/corpus/level/*; do add "$f" "loader_$(basename "$f")"; done
for f in "$root"/tests/fuzz/corpus/terrain_index/*; do add "$f" "index_$(basename "$f")"; done
for n in 1 300 1000 10000 10879; do
  "$synth" terrain "terrain_$n.map" "$n" && levels+=("terrain_$n.map")
done
"$synth" huge huge_1.map 1 && levels+=(huge_1.map)
"$synth" huge huge_10879.map 10879 && levels+=(huge_10879.map)
for seed in $(seq 1 20); do
  "$synth" random "random_small_$seed.map" $((seed * 5000)) "$seed"
  levels+=("random_small_$seed.map")
done

run() {  # level script ticks
  local hash
  hash=$( ("$blobrun" "$1" "$2" "$3" 2>&1 || echo "exit status $?") | sha256sum | cut -c1-16)
  echo "$hash $1 $(basename "$2") $3"
}

{
  for level in "${levels[@]}"; do
    for script in "${scripts[@]}"; do run "$level" "$script" 600; done
  done
  # Crowds and random files: fewer ticks and scripts, the output is large.
  "$synth" terrain crowd.map 10000 1000 20
  run crowd.map "$busy" 150
  for seed in 31 32 33 34; do
    "$synth" random "random_1mb_$seed.map" 1048576 "$seed"
    run "random_1mb_$seed.map" "$busy" 300
  done
  for seed in 9 26 1 2 3; do
    "$synth" random "random_$seed.map" 10485760 "$seed"
    run "random_$seed.map" "$busy" 120
    rm "random_$seed.map"
  done
} >"$out"
