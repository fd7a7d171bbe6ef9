#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in data/, the
# folder that holds level.map and images/. Escape quits.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "play.sh: no display to open a window on (DISPLAY is not set); on a machine without a screen run: xvfb-run -a -s '-noreset -screen 0 1024x768x24' scripts/play.sh" >&2
  exit 1
fi
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/release" --target blobdemo -j "$(nproc)"
cd "$top/data"
exec "$top/build/release/blobdemo"
