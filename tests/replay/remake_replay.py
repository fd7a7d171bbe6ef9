#!/usr/bin/env python3
"""Re-makes a stored replay's state hashes from its own key events, for a
deliberate change to the simulation: runs the events on the level with
blobrun and writes every checkpoint's hash anew (the 64-bit FNV-1a of what
blobrun prints for that tick). The header and the key events stay as they
were, so the replay still holds the session as it was played.

usage: remake_replay.py BLOBRUN REPLAY LEVEL
"""
import os
import re
import subprocess
import sys
import tempfile

blobrun, replay_path, level = sys.argv[1:4]
lines = open(replay_path).read().splitlines()
ticks = int(next(l for l in lines if l.startswith("# ticks: ")).split()[-1])
state = re.compile(r"^# state (\d+): [0-9a-f]{16}$")
checkpoints = [int(state.match(l).group(1)) for l in lines if state.match(l)]

with tempfile.NamedTemporaryFile("w", suffix=".events", delete=False) as events:
    events.write("".join(l + "\n" for l in lines if not l.startswith("#")))
try:
    dump = subprocess.run([blobrun, level, events.name, str(ticks)], check=True,
                          capture_output=True).stdout
finally:
    os.unlink(events.name)

def fnv1a(text):
    h = 0xcbf29ce484222325
    for byte in text:
        h = ((h ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return h


# Each tick's text runs from its "tick N view ..." line to the next one.
hashes, tick, text = {}, None, b""
for line in dump.splitlines(keepends=True):
    if line.startswith(b"tick "):
        if tick is not None:
            hashes[tick] = fnv1a(text)
        tick, text = int(line.split()[1]), b""
    text += line
hashes[tick] = fnv1a(text)

def remade(line):
    match = state.match(line)
    return "# state %s: %016x" % (match.group(1), hashes[int(match.group(1))]) if match else line


out = [remade(l) for l in lines]
open(replay_path, "w").write("".join(l + "\n" for l in out))
print("%s: %d checkpoints re-made over %d ticks" % (replay_path, len(checkpoints), ticks))
