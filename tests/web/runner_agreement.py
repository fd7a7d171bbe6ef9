"""Another build's runner against the native blobrun: the same level and key
script, every tick's state compared. The browser build's runs on Node
(blobrun.js), the Windows build's under Wine (blobrun.exe).

Their maths libraries are not glibc's (sin, cos and atan round differently
in the last bits), so the runners cannot agree bit for bit; they must agree
to 1e-6 pixel. Positions and speeds are compared to 1e-6, whole
numbers (view, crate timers, control) exactly, and a centre's direction only
while it moves: at rest the direction of a speed of nearly nothing is noise.

usage: runner_agreement.py BLOBRUN LEVEL EVENTS TICKS NAME OTHER_RUNNER...
  NAME names the other build in messages; OTHER_RUNNER... is the command
  that runs its blobrun (for example: node --no-experimental-fetch blobrun.js)
"""

import math
import subprocess
import sys

NATIVE, LEVEL, EVENTS, TICKS, NAME = sys.argv[1:6]
OTHER_RUNNER = sys.argv[6:]
TOLERANCE = 1e-6  # pixels, pixels a tick, degrees
MOVING = 1e-3     # pixels a tick: slower, and a direction means nothing
RIM = 21          # rim slots in a dump line, the wrap slot included

BLOB_FIELDS = (["x", "y", "speed", "direction", "control_index", "move_left", "move_right"] +
               ["rim_x"] * RIM + ["rim_y"] * RIM + ["rim_speed"] * RIM + ["rim_direction"] * RIM)
PLATFORM_FIELDS = ["x", "y", "timer", "speed_y"]
WHOLE = {"control_index", "move_left", "move_right", "timer", "speed_y"}


def run(argv):
    done = subprocess.run(argv + [LEVEL, EVENTS, TICKS], capture_output=True, text=True,
                          timeout=120)
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (argv[-1], done.returncode, done.stderr))
    return done.stdout.splitlines()


def compare(native_line, other_line, worst):
    """Returns the first disagreement as (field, native, other), or None;
    raises worst[0] to the largest difference seen in a position or speed."""
    a, b = native_line.split(), other_line.split()
    if len(a) != len(b) or a[0] != b[0] or a[0] == "tick":
        return None if a == b else ("line", native_line, other_line)
    fields = BLOB_FIELDS if a[0] == "B" else PLATFORM_FIELDS
    moving = a[0] == "B" and float(a[3]) >= MOVING
    for name, u, v in zip(fields, a[1:], b[1:]):
        if name in WHOLE:
            if u != v:
                return (name, u, v)
            continue
        if name == "direction" and not moving:
            continue
        x, y = float(u), float(v)
        if math.isnan(x) and math.isnan(y):
            continue
        if not abs(x - y) <= TOLERANCE:
            return (name, u, v)
        if name != "direction":
            worst[0] = max(worst[0], abs(x - y))
    return None


def main():
    native = run([NATIVE])
    other = run(OTHER_RUNNER)
    if len(native) != len(other):
        sys.exit("FAIL: %d lines native, %d from %s" % (len(native), len(other), NAME))
    worst, tick = [0.0], "0"
    for a, b in zip(native, other):
        if a.startswith("tick"):
            tick = a.split()[1]
        disagreement = compare(a, b, worst)
        if disagreement:
            sys.exit("FAIL at tick %s: %s is %s native, %s in %s" % ((tick,) + disagreement + (NAME,)))
    print("ok    %s's runner agrees with the native one over %s ticks within %g "
          "(largest difference in a position or speed: %.2g)" % (NAME, TICKS, TOLERANCE, worst[0]))
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
