#!/usr/bin/env python3
"""The rules of the house (docs/architecture.md), checked on the sources:

1. One way down: a room of src/ includes only rooms on lower floors, and
   names a header of another room by the room's folder ("files/x.h").
2. No #if on a platform in src/, tools/ or web/: each platform's
   differences live in files of their own, which CMake picks.
3. The simulation's sine, cosine and arctangent come from src/maths: no C
   library transcendental is called in src/, tools/ or web/.

usage: house_rules.py SOURCE_DIR
"""
import os
import re
import sys

# A room may include rooms on lower floors only.
FLOORS = {
    "maths": 0, "files": 0,
    "pictures": 1, "audio": 1,
    "shell": 2,
    "replay": 3,
    "level": 4,
    "blob": 5,
    "world": 6,
    "desktop": 7,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
PLATFORM_IF = re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|WIN32|__MINGW\w*|"
                         r"_MSC_VER|__EMSCRIPTEN__|EMSCRIPTEN|__linux__|__unix__|__APPLE__)\b")
TRANSCENDENTAL = re.compile(r"(?<![\w.>])(std::)?(sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|"
                            r"exp|exp2|expm1|log|log2|log10|log1p|pow|cbrt|hypot|sincos)f?\s*\(")


def sources(top, folder):
    for here, _, names in os.walk(os.path.join(top, folder)):
        for name in sorted(names):
            if name.endswith((".cpp", ".h", ".c")):
                yield os.path.join(here, name)


def code_lines(path):
    """Lines with // comments and string literals blanked, numbered from 1."""
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        yield number, line, re.sub(r'"(\\.|[^"\\])*"', '""', line.split("//")[0])


def main():
    top = os.path.abspath(sys.argv[1])
    faults = []
    for folder in ("src", "tools", "web"):
        for path in sources(top, folder):
            rel = os.path.relpath(path, top)
            parts = rel.split(os.sep)
            room = parts[1] if folder == "src" else None
            if room == "maths":
                continue  # the portable maths itself
            for number, line, code in code_lines(path):
                where = "%s:%d" % (rel, number)
                if PLATFORM_IF.match(line):
                    faults.append("%s: a platform #if: put the difference in a file of its own"
                                  % where)
                if TRANSCENDENTAL.search(code) and not INCLUDE.match(line):
                    faults.append("%s: a C library transcendental: use maths/portable_maths.h"
                                  % where)
                include = INCLUDE.match(line)
                if room is None or not include:
                    continue
                target = include.group(1)
                if os.path.exists(os.path.join(os.path.dirname(path), target)):
                    continue  # beside the including file
                to = target.split("/")[0]
                if to not in FLOORS:
                    faults.append("%s: \"%s\" names no room: include it as \"ROOM/...\""
                                  % (where, target))
                elif to != room and FLOORS[to] >= FLOORS[room]:
                    faults.append("%s: %s includes %s, which is not on a lower floor"
                                  % (where, room, target))
    for fault in faults:
        print("FAIL  " + fault)
    print("%d faults in the house rules" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
