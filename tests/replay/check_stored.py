#!/usr/bin/env python3
"""Stored replays checked by another build's runner (blobrun.exe under Wine,
blobrun.js under Node): each must match on every checkpoint, as it does for
the native runner, since every build computes the same bits.

usage: check_stored.py RUNNER... -- REPLAY LEVEL [REPLAY LEVEL...]
"""
import re
import subprocess
import sys
import tempfile


def run(argv):
    """The runner's exit status and output. Output goes through a file: under
    Wine, a pipe stays open some 3 seconds after the program ends."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(argv, stdout=out, stderr=err, timeout=100).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read().decode(errors="replace"), err.read().decode(errors="replace")


split = sys.argv.index("--")
runner, pairs = sys.argv[1:split], sys.argv[split + 1:]
failed = 0
for replay, level in zip(pairs[0::2], pairs[1::2]):
    ticks = re.search(r"^# ticks: (\d+)$", open(replay).read(), re.M).group(1)
    status, out, err = run(runner + ["--replay", replay, level])
    said = out.strip()
    ok = status == 0 and said == "replay matches: %s ticks" % ticks
    if not ok:
        said += " " + err.strip()
    failed += not ok
    print("%s  %s: %s" % ("ok  " if ok else "FAIL", replay.rsplit("/", 1)[-1], said))
print("%d passed, %d failed" % (len(pairs) // 2 - failed, failed))
sys.exit(1 if failed else 0)
