#!/usr/bin/env bash
# blobrun's command line: every error a user can make gives exactly one line
# on standard error that names the file (and line) or the argument, no dump,
# and a non-zero exit; good runs print what was asked for.
#   runner_cli_test.sh BLOBRUN DATA_DIR [files|runs]
set -u
blobrun=$1 data=$2 part=${3:-all}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect_error NAME PATTERN ARGS...: non-zero exit, nothing on stdout, one
# stderr line matching PATTERN.
expect_error() {
  local name=$1 pattern=$2
  shift 2
  "$blobrun" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  [ "$status" -ne 0 ] || fail "$name: exit status 0"
  [ ! -s "$work/out" ] || fail "$name: printed a dump"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$name: stderr has $(wc -l <"$work/err") lines: $(cat "$work/err")"
  grep -q -- "$pattern" "$work/err" || fail "$name: stderr '$(cat "$work/err")' does not match '$pattern'"
}

level=$data/flat_drop.map
events=$data/flat_drop.events
printf '3 down Right\n' >"$work/ok.events"

# The files it is given: levels, key scripts and replays, missing, odd or
# hostile, and the arguments around them.
check_files() {
  expect_error "no arguments" "usage: blobrun"
  expect_error "too few" "usage: blobrun" "$level" "$events"
  expect_error "bad option" "unknown option '--all'" "$level" "$events" 5 --all
  expect_error "missing level" "cannot read the level: No such file or directory ($work/none.map)" \
    "$work/none.map" "$events" 5
  expect_error "level is a folder" "cannot read the level: .*($work)" "$work" "$events" 5
  expect_error "missing events" "cannot read the key script: No such file or directory ($work/none.txt)" \
    "$level" "$work/none.txt" 5
  expect_error "events is a folder" "cannot read the key script: it is a folder, not a file ($work)" \
    "$level" "$work" 5
  expect_error "replay without a file" "usage: blobrun" --replay
  expect_error "missing replay" "cannot read the replay: No such file or directory ($work/none.replay)" \
    --replay "$work/none.replay"
  expect_error "a level as replay" "$level: not a replay: it does not begin with '# blobdemo replay'" \
    --replay "$level"
  # A replay must hold a state hash every 100 ticks, as the game writes them:
  # one that claims 2^31 - 1 ticks and holds one hash would run for a day.
  # Bytes from a replay reach the terminal escaped. A replay's own Escape
  # ends it, as it ended the game.
  sha=$(sha256sum "$level" | cut -d' ' -f1)
  replay_head() {  # replay_head PROGRAM TICKS
    printf '# blobdemo replay\n# program: %b\n# level: %s\n# level-sha256: %s\n# ticks: %s\n' \
      "$1" "$level" "$sha" "$2"
  }
  { replay_head x 2147483647; echo '# state 2147483647: 0123456789abcdef'; } >"$work/long.replay"
  expect_error "a day's replay" "long.replay: it has no state hash for tick 100 (a replay holds one" \
    --replay "$work/long.replay"
  { replay_head x 1; printf '1 down Ri\033]0;x\007\000ght\n# state 1: 0123456789abcdef\n'; } \
    >"$work/bytes.replay"
  expect_error "control bytes" "bytes.replay:6: unknown key 'Ri\\\\x1b]0;x\\\\x07\\\\x00ght'" \
    --replay "$work/bytes.replay"
  { replay_head 'blobdemo 0.1\033[2J' 150; printf '5 down Escape\n# state 100: 0123456789abcdef\n'
    echo '# state 150: 0123456789abcdef'; } >"$work/escape.replay"
  "$blobrun" --replay "$work/escape.replay" >"$work/out" 2>&1 ||
    fail "a replay ended by its own Escape: $(cat "$work/out")"
  [ "$(cat "$work/out")" = "replay stopped at tick 5 of 150; it matched so far (no checkpoint yet)" ] ||
    fail "a replay ended by its own Escape said: $(cat -v "$work/out")"

  # Odd files are refused at once, never read for ever or waited on: a device
  # without end, and a pipe that no one writes. A script of no keys may come
  # from /dev/null or a pipe; one from /dev/zero is refused at the size limit.
  mkfifo "$work/pipe.map"
  expect_error "level is /dev/zero" "cannot read the level: it is a device, not a file (/dev/zero)" \
    /dev/zero "$events" 5
  expect_error "level is a pipe" "cannot read the level: it is a pipe, not a file ($work/pipe.map)" \
    "$work/pipe.map" "$events" 5
  expect_error "events are /dev/zero" "cannot read the key script: it holds more than 128 MB" \
    "$level" /dev/zero 5
  "$blobrun" "$level" /dev/null 3 --final >/dev/null || fail "a script from /dev/null did not run"
  printf '3 down Right\n' | "$blobrun" "$level" /dev/stdin 3 --final >/dev/null ||
    fail "a script piped in did not run"
}

# Ticks and key scripts that are wrong, then good runs and what they print.
check_runs() {
  for ticks in 0 -3 abc 12x "" " 5"; do
    expect_error "ticks '$ticks'" "TICKS '$ticks' is not a whole number from 1 up" "$level" "$events" "$ticks"
  done
  expect_error "ticks too large" "TICKS '99999999999' is too large (the most is 2147483647)" \
    "$level" "$events" 99999999999

  bad_line() {  # bad_line NAME CONTENT PATTERN: the error names file:line
    printf -- "$2" >"$work/bad.events"
    expect_error "$1" "$work/bad.events:$3" "$level" "$work/bad.events" 5
  }
  bad_line "unknown key" '1 down Right\n\n2 down Space\n' "3: unknown key 'Space'"
  bad_line "bad action" '# comment\n1 press Right\n' "2: 'press' is neither down nor up"
  bad_line "tick zero" '0 down Right\n' "1: tick '0' is not a whole number from 1 up"
  bad_line "negative tick" '-1 down Right\n' "1: tick '-1'"
  bad_line "missing key" '4 down\n' "1: expected '<tick> down|up <key>'"
  bad_line "extra word" '4 down Up now\n' "1: expected"
  bad_line "key number too big" '4 down 400\n' "1: unknown key '400'"

  # Good runs: one dump per tick, or only the last with --final.
  "$blobrun" "$level" "$work/ok.events" 7 >"$work/all" 2>"$work/err" || fail "good run failed: $(cat "$work/err")"
  [ "$(grep -c '^tick ' "$work/all")" -eq 7 ] || fail "7 ticks did not print 7 dumps"
  [ ! -s "$work/err" ] || fail "good run wrote to stderr: $(cat "$work/err")"
  "$blobrun" "$level" "$work/ok.events" 7 --final >"$work/final" || fail "--final run failed"
  [ "$(grep -c '^tick ' "$work/final")" -eq 1 ] || fail "--final printed more than one dump"
  tail -n 2 "$work/all" | cmp -s - "$work/final" || fail "--final differs from the last full dump"
  grep -q '^B .* 0 0 1 ' "$work/final" || fail "Right at tick 3 did not set move_right"

  # A key by number is the same key; names ignore case; CRLF lines are fine.
  printf '3 down 275\r\n' >"$work/num.events"
  "$blobrun" "$level" "$work/num.events" 7 --final | cmp -s - "$work/final" || fail "key 275 is not Right"
  printf '3 DOWN right\n' >"$work/case.events"
  "$blobrun" "$level" "$work/case.events" 7 --final | cmp -s - "$work/final" || fail "key names are case sensitive"

  # Escape ends the run after its own tick, whose other events still count.
  printf '5 down Escape\n5 down Right\n9 down Left\n' >"$work/esc.events"
  "$blobrun" "$level" "$work/esc.events" 50 >"$work/esc" || fail "Escape run failed"
  [ "$(grep -c '^tick ' "$work/esc")" -eq 5 ] || fail "Escape at tick 5 did not end the run there"
  tail -n 1 "$work/esc" | grep -q '^B .* 0 0 1 ' || fail "Right in Escape's tick was not dispatched"

  # Events listed out of order run in tick order.
  printf '9 down Left\n3 down Right\n' >"$work/order.events"
  printf '3 down Right\n9 down Left\n' >"$work/sorted.events"
  "$blobrun" "$level" "$work/order.events" 12 --final >"$work/a"
  "$blobrun" "$level" "$work/sorted.events" 12 --final >"$work/b"
  cmp -s "$work/a" "$work/b" || fail "events out of order ran differently"

  # A level the game would only warn about still runs, with the warning.
  head -c 40 "$level" >"$work/cut.map"
  "$blobrun" "$work/cut.map" "$events" 3 --final >"$work/cut" 2>"$work/err" || fail "a cut level stopped the run"
  grep -q "the file ends inside a record" "$work/err" || fail "no warning for a cut level"

  # A level is read as the game reads one: a level source is built, and a file
  # named as one is never read as a damaged level file, nor a picture as a level.
  printf '{"objects": [{"type": "blob", "style": 1, "x": 100, "y": -50}]}' >"$work/one.json"
  "$blobrun" "$work/one.json" /dev/null 2 --final >"$work/json" 2>"$work/err" || fail "a level source did not run: $(cat "$work/err")"
  grep -q '^B 100 ' "$work/json" || fail "the level source's blob is not at x 100: $(head -c 200 "$work/json")"
  : >"$work/empty.json"
  printf ' \n\t' >"$work/blank.tmj"
  printf '[{"type": "blob"}]' >"$work/list.json"
  printf '{"objects": [' >"$work/cut.json"
  printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR' >"$work/picture.map"
  for row in "empty.json|empty.json: the file is empty; a level source is JSON" \
    "blank.tmj|blank.tmj: the file holds only white space; a level source is JSON" \
    "list.json|list.json: the file holds \[{\"type\":\"blob\"}\], not a level object" \
    "cut.json|cut.json: not valid JSON" \
    "picture.map|picture.map: this is a PNG picture, not a level"; do
    expect_error "level ${row%%|*}" "${row#*|}" "$work/${row%%|*}" "$events" 5
  done

  # A dump that cannot be written is an error, not a success.
  if [ -w /dev/full ]; then
    "$blobrun" "$level" "$events" 300 >/dev/full 2>"$work/err" && fail "writing to a full disk succeeded"
    grep -q "cannot write the dump" "$work/err" || fail "no message for a full disk: $(cat "$work/err")"
  fi

  # With SIGPIPE ignored, a reader that goes away stops the run at the first
  # write that fails (a run that went on to its end would take hours).
  (trap '' PIPE; "$blobrun" "$level" "$events" 100000000 2>"$work/err" | head -n 1 >"$work/first"
    echo "${PIPESTATUS[0]}" >"$work/status")
  [ "$(cat "$work/status")" = 2 ] || fail "a closed pipe gave exit status $(cat "$work/status")"
  grep -q '^tick 1 ' "$work/first" || fail "no first tick before the pipe closed"
  grep -q "cannot write the dump: Broken pipe (standard output)" "$work/err" ||
    fail "no message for a closed pipe: $(cat "$work/err")"
}

# Each half alone is a test of its own, so that the two run side by side.
[ "$part" = runs ] || check_files
[ "$part" = files ] || check_runs

exit $((failures > 0))
