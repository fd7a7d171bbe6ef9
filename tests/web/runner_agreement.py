"""Another build's runner against the native blobrun: the same level and key
script, every tick's state compared byte for byte. The browser build's runs
on Node (blobrun.js), the Windows build's under Wine (blobrun.exe). All three
compute the simulation with the same portable maths, so they must print the
very same text; Windows' lines may end in CRLF.

usage: runner_agreement.py BLOBRUN LEVEL EVENTS TICKS NAME OTHER_RUNNER...
  NAME names the other build in messages; OTHER_RUNNER... is the command
  that runs its blobrun (for example: node --no-experimental-fetch blobrun.js)
"""

import itertools
import subprocess
import sys
import tempfile

NATIVE, LEVEL, EVENTS, TICKS, NAME = sys.argv[1:6]
OTHER_RUNNER = sys.argv[6:]


def run(argv):
    """Every line the runner prints. Output goes through files: under Wine, a
    pipe stays open some 3 seconds after the program ends."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(argv + [LEVEL, EVENTS, TICKS], stdout=out, stderr=err,
                                timeout=120).returncode
        out.seek(0)
        err.seek(0)
        if status != 0:
            sys.exit("%s failed (%d): %s" % (argv[-1], status, err.read().decode(errors="replace")))
        return out.read().decode().replace("\r\n", "\n").splitlines()


def main():
    native = run([NATIVE])
    other = run(OTHER_RUNNER)
    tick = "0"
    for a, b in zip(native, other):
        if a.startswith("tick"):
            tick = a.split()[1]
        if a != b:
            field = next(k for k, (u, v) in enumerate(itertools.zip_longest(a.split(), b.split()))
                         if u != v)
            sys.exit("FAIL at tick %s, field %d of the line:\n  native: %s\n  %s: %s"
                     % (tick, field, a[:200], NAME, b[:200]))
    if len(native) != len(other):
        sys.exit("FAIL: %d lines native, %d from %s" % (len(native), len(other), NAME))
    print("ok    %s's runner prints what the native one prints, byte for byte, over %s ticks "
          "(%d lines)" % (NAME, TICKS, len(native)))
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
