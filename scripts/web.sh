#!/usr/bin/env bash
# Builds the game for the browser with Debian's Emscripten and writes the page
# to build/web/: index.html with its script, style and icon, the game's
# JavaScript and WebAssembly, and its packed data. Any static web server can
# serve that folder.
#
# Usage: scripts/web.sh [--serve [PORT]]
#   --serve  then serves build/web on 127.0.0.1 (port 8000 unless given) and
#            prints the address; Ctrl-C stops it.
#
# Level sources dropped onto the page are read with the level tool's own
# readers, whose polygon split needs GLU's tessellator; Emscripten has none,
# so its source is taken from Debian's libglu source package (kept in
# build/glu-source, never in the repository). Without it the page still
# plays level files and says how to build a level source first. Replays need
# SHA-256, from libmd's source package in the same way (build/libmd-source).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
serve=0
port=8000
if [ "${1:-}" = "--serve" ]; then
  serve=1
  port=${2:-8000}
  if ! [[ "$port" =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
    echo "web.sh: the port is a number from 1 to 65535, not \"$port\"" >&2
    exit 2
  fi
elif [ $# -gt 0 ]; then
  echo "usage: scripts/web.sh [--serve [PORT]]" >&2
  exit 2
fi

"$top/scripts/install-deps.sh" --web

# Emscripten's linker runs on Node and needs Debian's Node modules.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

glu_source="$top/build/glu-source"

. "$top/scripts/debian-sources.sh"

glu_option=""
if [ -f "$glu_source/src/libtess/tess.c" ] || fetch_source libglu "$glu_source" "its tessellator"; then
  glu_option=$glu_source
else
  echo "web.sh: building without level sources: the page will play level files only" >&2
fi

# Replays name their level by its SHA-256, taken with libmd's SHA-2, as on the
# desktop; the page cannot be built without it.
md_source="$top/build/libmd-source"
if [ ! -f "$md_source/src/sha2.c" ] && ! fetch_source libmd "$md_source" "SHA-256"; then
  echo "web.sh: the page needs libmd's SHA-2 for its replays; fetch its source when the archive can be reached" >&2
  exit 1
fi

build="$top/build/web-cmake"
emcmake cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DBLOB_GLU_SOURCE="$glu_option" -DBLOB_MD_SOURCE="$md_source" \
  -DBLOB_WEB_SITE_DIR="$top/build/web" >/dev/null
cmake --build "$build" -j "$(nproc)"

site="$top/build/web"
echo "web.sh: the page is in $site:"
# The eight files the page needs, and the licence of its maths.
for file in index.html page.js replay.js page.css favicon.png blobdemo.js blobdemo.wasm \
  blobdemo.data COPYRIGHT.maths.txt; do
  printf '  %-19s %8d bytes\n' "$file" "$(stat -c %s "$site/$file")"
done

# Python's own server, bound first: a port already in use gets one line that
# suggests another, and the address is printed only once it is served.
if [ "$serve" -eq 1 ]; then
  exec python3 - "$site" "$port" <<'EOF'
import functools
import http.server
import sys

site, port = sys.argv[1], int(sys.argv[2])
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=site)
try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
except OSError as e:
    other = 8080 if port != 8080 else 8081
    print("web.sh: cannot serve on port %d: %s; give another: scripts/web.sh --serve %d"
          % (port, e.strerror or e, other), file=sys.stderr)
    sys.exit(1)
print("web.sh: serving the game at http://127.0.0.1:%d/ (Ctrl-C stops)" % port, flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
EOF
fi
