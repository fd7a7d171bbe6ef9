#!/usr/bin/env bash
# Runs a command with BLOB_FREE_DISPLAY set to a display (":N") that is
# certainly free, for tests of what happens when the display cannot be
# opened: no X server has its socket, lock file or TCP port, and this script
# holds the lock file while the command runs, so that no server can start on
# it meanwhile. (A hard-coded number could name a foreign X server and open a
# window there.) Returns the command's exit status.
set -u
lock=""
trap '[ -n "$lock" ] && rm -f "$lock"' EXIT

display_in_use() {
  local n=$1 port
  port=$(printf '%04X' $((6000 + n)))
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] ||
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null ||
    awk -v port=":$port" '$2 ~ port"$" && $4 == "0A" { found = 1 } END { exit !found }' \
      /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

# An X server leaves alone a display whose lock file names a live process.
for n in $(seq $((700 + $$ % 200)) 999) $(seq 700 999); do
  display_in_use "$n" && continue
  if (set -o noclobber; printf '%10d\n' $$ >"/tmp/.X$n-lock") 2>/dev/null; then
    lock="/tmp/.X$n-lock"
    break
  fi
done
if [ -z "$lock" ]; then
  echo "with_free_display: no free display number in 700..999" >&2
  exit 1
fi
export BLOB_FREE_DISPLAY=":$n"
"$@"
