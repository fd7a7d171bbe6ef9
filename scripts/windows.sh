#!/usr/bin/env bash
# Builds the game and its console tools for 64-bit Windows and writes
# build/windows/blobdemo-windows.zip: the programs, the DLLs they need, the
# demo level, its pictures and source, and a README.txt for Windows users.
#
# Usage: scripts/windows.sh
#
# It installs what it needs (MinGW-w64, Wine for the tests, stb_image),
# cross-builds the libraries from Debian's source packages once
# (scripts/windows-deps.sh, kept under ~/.cache/blobdemo), then builds the
# project's own sources with cmake/windows-toolchain.cmake.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
host=x86_64-w64-mingw32
usage="usage: scripts/windows.sh   (takes no arguments; builds build/windows/blobdemo-windows.zip)"
case "${1:-}" in
  -h | --help)
    echo "$usage"
    exit 0
    ;;
esac
if [ $# -gt 0 ]; then
  echo "windows.sh: unknown argument \"$1\"" >&2
  echo "$usage" >&2
  exit 2
fi

"$top/scripts/install-deps.sh" --windows
deps=$("$top/scripts/windows-deps.sh")
# libmd's SHA-2, for replays, from the source that the browser build uses too.
. "$top/scripts/debian-sources.sh"
md_source="$top/build/libmd-source"
if [ ! -f "$md_source/src/sha2.c" ] && ! fetch_source libmd "$md_source" "SHA-256"; then
  echo "windows.sh: the game needs libmd's SHA-2 for its replays; fetch its source when the archive can be reached" >&2
  exit 1
fi

build="$top/build/windows-cmake"
out="$top/build/windows"
# Libraries built afresh lie in another folder: what CMake found in the old
# one is forgotten.
fresh=()
if ! grep -qxF "BLOB_WINDOWS_DEPS:PATH=$deps" "$build/CMakeCache.txt" 2>/dev/null; then
  fresh=(--fresh)
fi
cmake "${fresh[@]}" -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/windows-toolchain.cmake" \
  -DBLOB_WINDOWS_DEPS="$deps" -DBLOB_MD_SOURCE="$md_source" -DCMAKE_BUILD_TYPE=Release \
  -DBLOB_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

stage="$out/blobdemo"
rm -rf "$stage" "$out/blobdemo-windows.zip"
cmake --install "$build" --prefix "$stage" >/dev/null
for program in "$stage"/*.exe "$stage"/*.dll; do
  $host-strip --strip-unneeded "$program"
  # Nothing may need the compiler's runtime DLLs, which do not ship.
  if $host-objdump -p "$program" | grep -E 'DLL Name: (libgcc|libstdc|libwinpthread)'; then
    echo "windows.sh: $(basename "$program") needs a MinGW runtime DLL" >&2
    exit 1
  fi
done
(cd "$stage" && zip -q -r -X -9 "$out/blobdemo-windows.zip" .)

echo "windows.sh: $out/blobdemo-windows.zip, $(stat -c %s "$out/blobdemo-windows.zip") bytes:"
(cd "$stage" && find . -type f ! -path './images/*' ! -path './levels/*' | sort | sed 's|^\./|  |')
