#!/usr/bin/env bash
# Starts the game with no display to open: it must exit with status 1 and
# explain itself in exactly one line on standard error. Once without DISPLAY,
# once with the display that support/with_free_display.sh has made sure is
# free (BLOB_FREE_DISPLAY).
set -u
game=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
for display in "" "${BLOB_FREE_DISPLAY:?run this under support/with_free_display.sh}"; do
  if [ -z "$display" ]; then
    env -u DISPLAY "$game" >"$dir/out" 2>"$dir/err"
  else
    DISPLAY=$display "$game" >"$dir/out" 2>"$dir/err"
  fi
  status=$?
  lines=$(wc -l <"$dir/err")
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q '^blobdemo: cannot' "$dir/err"; then
    echo "DISPLAY='$display': expected exit 1 and one 'blobdemo: cannot ...' line, got exit $status and:"
    cat "$dir/err"
    exit 1
  fi
  echo "DISPLAY='$display': exit 1: $(cat "$dir/err")"
done
