#!/usr/bin/env bash
# blobrun --replay on a stored replay: the verdicts and their exit statuses
# (0 matches, 1 differs, 2 cannot run it), each in one line, for the replay
# as it is, with one key event moved by a tick, on another level, and for
# the mistakes a user can make.
#   replay_cli_test.sh BLOBRUN REPLAY LEVEL OTHER_LEVEL
. "$(dirname "$0")/../support/script_checks.sh"
blobrun=$1 replay=$2 level=$3 other=$4

# expect NAME STATUS PATTERN ARGS...: that status and one line matching PATTERN.
expect() {
  local name=$1 status=$2 pattern=$3
  shift 3
  "$blobrun" --replay "$@" >"$work/out" 2>&1
  local got=$?
  [ "$got" -eq "$status" ] || fail "$name: exit status $got, not $status: $(cat "$work/out")"
  [ "$(wc -l <"$work/out")" -eq 1 ] || fail "$name: $(wc -l <"$work/out") lines: $(cat "$work/out")"
  grep -q -- "$pattern" "$work/out" || fail "$name: '$(cat "$work/out")' does not match '$pattern'"
}

ticks=$(sed -n 's/^# ticks: //p' "$replay")
expect "as recorded" 0 "^replay matches: $ticks ticks$" "$replay" "$level"

# The first event a tick later: the run parts from the replay at the next
# checkpoint after it, and every checkpoint before it still matched.
first=$(grep -m 1 -E '^[0-9]+ (down|up) ' "$replay")
tick=${first%% *}
awk -v line="$first" -v moved="$((tick + 1)) ${first#* }" '$0 == line && !done { $0 = moved; done = 1 } 1' \
  "$replay" >"$work/moved.replay"
checkpoint=$(((tick / 100 + 1) * 100))
expect "one key moved" 1 "differs at the checkpoint of tick $checkpoint: .*; " "$work/moved.replay" "$level"

sha=$(sed -n 's/^# level-sha256: //p' "$replay")
expect "another level" 2 "is not the level the replay was played on: its SHA-256 is $(sha256sum "$other" | cut -c 1-64), the replay's level's $sha" \
  "$replay" "$other"
head -n -1 "$replay" >"$work/cut.replay"
expect "cut short" 2 "it ends before the state of its last tick, $ticks (is it cut short?)" "$work/cut.replay" "$level"
expect "no such replay" 2 "cannot read the replay: No such file or directory" "$work/none.replay"
expect "a level as replay" 2 "not a replay: it does not begin with '# blobdemo replay'" "$level"
expect "no replay named" 2 "usage: blobrun" 
expect "too many" 2 "usage: blobrun" "$replay" "$level" extra
exit $((failures > 0))
