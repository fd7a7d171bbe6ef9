#!/usr/bin/env bash
# Runs a command under a private Xvfb and returns the command's exit status.
# -noreset matters: SDL 1.2 opens and closes a probe connection before its
# real one, and a server that resets when its last client leaves makes that
# second connection fail now and then.
set -u
tmp=$(mktemp -d)
unset DISPLAY
cleanup() {
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!

# Wait (bounded) until Xvfb has written its display number and answers.
for _ in $(seq 1 200); do
  if [ -s "$tmp/display" ]; then
    export DISPLAY=":$(head -n 1 "$tmp/display")"
    if xdpyinfo >/dev/null 2>&1; then break; fi
  fi
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
  sleep 0.05
done
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  echo "with_xvfb: Xvfb did not start:" >&2
  cat "$tmp/xvfb.log" >&2
  exit 1
fi

export LIBGL_ALWAYS_SOFTWARE=1
"$@"
status=$?
exit "$status"
