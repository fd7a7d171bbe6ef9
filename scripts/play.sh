#!/usr/bin/env bash
# Installs what playing needs (install-deps.sh --play: no test tools), builds
# the game and its tools (blobdemo, leveltool, blobrun, oggplay, synthlevel,
# all in build/play/bin/) and starts the game. Escape quits.
#   scripts/play.sh          plays the demo: level.map and images/ in data/
#   scripts/play.sh LEVEL    plays LEVEL, a level file or a level source, and
#                            shows each save of it in the running game
# Everything is installed and built before the display is looked for, so on a
# machine without a screen the virtual one it suggests is there to use.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: scripts/play.sh [LEVEL]"
case "${1:-}" in
  -h | --help)
    echo "$usage"
    exit 0
    ;;
esac
if [ $# -gt 1 ] || [[ "${1:-}" == -* ]]; then
  echo "$usage" >&2
  exit 2
fi
build="$top/build/play"
"$top/scripts/install-deps.sh" --play
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLOB_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target blobdemo leveltool blobrun oggplay synthlevel

if [ -z "${DISPLAY:-}" ]; then
  echo "play.sh: no display to open a window on (DISPLAY is not set); the game and its tools" \
    "are built in $build/bin/. On a machine without a screen, play on a virtual one:" \
    "xvfb-run -a -s '-noreset -screen 0 1024x768x24' $0${1:+ $(printf '%q' "$1")}" >&2
  exit 1
fi
# xvfb-run hands its server's key over in a file of its own folder.
case "${XAUTHORITY:-}" in
  */xvfb-run.*/*)
    echo "play.sh: the window is on a virtual screen (xvfb-run), which shows nowhere;" \
      "Ctrl-C ends the game" >&2
    ;;
esac
if [ $# -eq 1 ]; then
  exec "$build/bin/blobdemo" "$1"
fi
cd "$top/data"
exec "$build/bin/blobdemo"
