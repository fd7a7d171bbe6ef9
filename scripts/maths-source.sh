#!/usr/bin/env bash
# Fetches the source of the simulation's portable maths (src/maths) once:
# seven files of musl's maths, from the upstream tarball of Debian's musl
# source package (MIT licence), unpacked into a cache outside the checkout.
# apt-get checks the tarball against the archive's signed index. CMake
# compiles the files from there (BLOB_MUSL_SOURCE); the project keeps none
# of them.
#   scripts/maths-source.sh [DEST]   (default: ~/.cache/blobdemo/musl-source)
# Prints the folder on standard output; says why on standard error and exits
# 1 when the source cannot be fetched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/blobdemo/musl-source}
if [ $# -gt 1 ] || [[ "$dest" == -* ]]; then
  echo "usage: scripts/maths-source.sh [DEST]" >&2
  exit 2
fi
if [ ! -f "$dest/src/math/__rem_pio2_large.c" ]; then
  . "$top/scripts/debian-sources.sh"
  fetch_source musl "$dest" "the portable maths" || exit 1
fi
echo "$dest"
