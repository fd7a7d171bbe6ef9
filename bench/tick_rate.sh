#!/usr/bin/env bash
# How many ticks a second of the wall clock the unchanged game runs: the
# game on the demo level under a private Xvfb for SECONDS (default 10), its
# buffer swaps timed by the tests' preloaded library, then Escape. Prints
# the rate over the swaps after the first second; 58.8 (1000 / 17) on a
# machine with time to spare. A figure to read, never a test: a busy
# machine gives less.
#   bench/tick_rate.sh BUILD_DIR [SECONDS]
# BUILD_DIR is a build with the tests (bin/blobdemo, tests/e2e/libblob_swap_clock.so).
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/data/level.map" "$work/"
ln -s "$root/data/images" "$work/images"

cat >"$work/play.sh" <<PLAY
#!/usr/bin/env bash
cd "$work"
LD_PRELOAD="$build/tests/e2e/libblob_swap_clock.so" BLOB_SWAP_LOG="$work/swaps" \\
  SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS=null "$build/bin/blobdemo" &
game=\$!
sleep "$seconds"
xdotool windowfocus --sync "\$(xdotool search --pid \$game | head -n 1)" key Escape
wait \$game
PLAY
chmod +x "$work/play.sh"
"$root/tests/support/with_xvfb.sh" "$work/play.sh"
awk 'NR == 1 { start = $1 } $1 < start + 1 { first = NR; at = $1 } { last = $1; n = NR }
     END { printf "%.2f ticks a second over %.1f s\n", (n - first) / (last - at), last - at }' \
  "$work/swaps"
