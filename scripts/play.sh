#!/usr/bin/env bash
# Installs what is missing, builds the game and its tools (leveltool, blobrun,
# oggplay, synthlevel, in build/release/tools/) and starts the game. Escape
# quits.
#   scripts/play.sh          plays the demo: level.map and images/ in data/
#   scripts/play.sh LEVEL    plays LEVEL, a level file or a level source, and
#                            shows each save of it in the running game
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 1 ]; then
  echo "usage: scripts/play.sh [LEVEL]" >&2
  exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "play.sh: no display to open a window on (DISPLAY is not set); on a machine without a screen run: xvfb-run -a -s '-noreset -screen 0 1024x768x24' scripts/play.sh" >&2
  exit 1
fi
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/release" -j "$(nproc)" \
  --target blobdemo leveltool blobrun oggplay synthlevel
if [ $# -eq 1 ]; then
  exec "$top/build/release/blobdemo" "$1"
fi
cd "$top/data"
exec "$top/build/release/blobdemo"
