#!/usr/bin/env python3
"""Stored replays checked by another build's runner (blobrun.exe under Wine,
blobrun.js under Node): each must match on every checkpoint, as it does for
the native runner, since every build computes the same bits.

usage: check_stored.py RUNNER... -- REPLAY LEVEL [REPLAY LEVEL...]
"""
import re
import subprocess
import sys

split = sys.argv.index("--")
runner, pairs = sys.argv[1:split], sys.argv[split + 1:]
failed = 0
for replay, level in zip(pairs[0::2], pairs[1::2]):
    ticks = re.search(r"^# ticks: (\d+)$", open(replay).read(), re.M).group(1)
    done = subprocess.run(runner + ["--replay", replay, level], capture_output=True, text=True,
                          timeout=100)
    said = done.stdout.strip()
    ok = done.returncode == 0 and said == "replay matches: %s ticks" % ticks
    if not ok:
        said += " " + done.stderr.strip()
    failed += not ok
    print("%s  %s: %s" % ("ok  " if ok else "FAIL", replay.rsplit("/", 1)[-1], said))
print("%d passed, %d failed" % (len(pairs) // 2 - failed, failed))
sys.exit(1 if failed else 0)
