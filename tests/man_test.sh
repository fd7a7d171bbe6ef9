#!/usr/bin/env bash
# The man pages the build installs render without a warning from groff, as
# `man -l PAGE` shows them; each names the project's version.
# Usage: man_test.sh VERSION PAGE...
set -u
version=$1
shift
failures=0
for page in "$@"; do
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "FAIL: ${page##*/}: $warnings"
    failures=$((failures + 1))
  fi
  if ! grep -q "^\.TH .*\"blobdemo $version\"" "$page"; then
    echo "FAIL: ${page##*/}: no \"blobdemo $version\" in its title line"
    failures=$((failures + 1))
  fi
done
echo "$# pages, $failures failure(s)"
exit $((failures > 0))
