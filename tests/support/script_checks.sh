# Sourced by the test scripts: a scratch folder $work, removed at exit, and
# fail, which says what failed and counts it; a script ends with
#   exit $((failures > 0))
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
