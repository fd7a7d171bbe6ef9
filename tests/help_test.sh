#!/usr/bin/env bash
# Every program answers --help with its usage on standard output, nothing on
# standard error and exit status 0, and --version with one line, its name and
# the project's version (BLOB_VERSION in the environment). The programs after "--" also take a bare
# command line as a mistake: usage on standard error, nothing on standard
# output, a non-zero status. (blobdemo without arguments starts the game.)
# Usage: help_test.sh PROGRAM... -- PROGRAM...
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check_help() {
  local name=${1##*/} status
  "$1" --help >"$work/out" 2>"$work/err" </dev/null
  status=$?
  [ "$status" -eq 0 ] || fail "$name --help: exit status $status"
  grep -q "^usage: $name" "$work/out" || fail "$name --help: no usage on standard output"
  [ -s "$work/err" ] && fail "$name --help: wrote to standard error: $(head -c 200 "$work/err")"
}

check_bare() {
  local name=${1##*/} status
  "$1" >"$work/out" 2>"$work/err" </dev/null
  status=$?
  [ "$status" -ne 0 ] || fail "$name without arguments: exit status 0"
  grep -q "usage: $name" "$work/err" || fail "$name without arguments: no usage on standard error"
  [ -s "$work/out" ] && fail "$name without arguments: wrote to standard output"
}

check_version() {
  local name=${1##*/} status
  "$1" --version >"$work/out" 2>"$work/err" </dev/null
  status=$?
  [ "$status" -eq 0 ] || fail "$name --version: exit status $status"
  [ "$(cat "$work/out")" = "$name $BLOB_VERSION" ] ||
    fail "$name --version: \"$(head -c 200 "$work/out")\", not \"$name $BLOB_VERSION\""
  [ -s "$work/err" ] && fail "$name --version: wrote to standard error: $(head -c 200 "$work/err")"
}

bare=0
for program in "$@"; do
  if [ "$program" = "--" ]; then
    bare=1
    continue
  fi
  check_help "$program"
  check_version "$program"
  [ "$bare" -eq 1 ] && check_bare "$program"
done
echo "$failures failure(s)"
exit $((failures > 0))
