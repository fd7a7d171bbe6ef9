#!/usr/bin/env bash
# Runs blobrun on a stored scene and compares its dump with the stored one.
#   check_dump.sh BLOBRUN LEVEL EVENTS TICKS EXPECTED [--final]
# A difference prints the first differing lines, which name the tick and the
# object; the full diff is left next to the test's working folder.
set -u
blobrun=$1 level=$2 events=$3 ticks=$4 expected=$5
shift 5
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
if ! "$blobrun" "$level" "$events" "$ticks" "$@" >"$actual"; then
  echo "check_dump: blobrun failed on $level" >&2
  exit 1
fi
if ! cmp -s "$expected" "$actual"; then
  echo "check_dump: the dump differs from $expected" >&2
  diff "$expected" "$actual" | head -c 4000 >&2
  exit 1
fi
