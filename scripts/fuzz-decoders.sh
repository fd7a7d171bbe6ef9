#!/usr/bin/env bash
# Builds the picture decoders that the picture fuzz target reaches through
# the system's SDL_image (libpng, libjpeg-turbo and zlib) from Debian's
# source packages, with Debian's patches applied, instrumented as the fuzz
# targets are, as shared libraries under the sonames SDL_image loads: the
# target loads them instead of the system's (tests/fuzz/CMakeLists.txt),
# and libFuzzer sees their branches, not only the project's own. Prints
# the folder whose lib/ holds them. scripts/fuzz.sh calls it.
#
# SDL_image's own loaders stay the system's: the archive's mirror here
# lacks its source (sdl-image1.2's tarball answers 404, in bookworm and in
# trixie). They only hand the file to the libraries built here.
#
# Usage: scripts/fuzz-decoders.sh
#
# The result is kept under ~/.cache/blobdemo/fuzz-decoders/KEY (BLOB_CACHE_DIR
# moves ~/.cache/blobdemo), where KEY sums up the exact source files, the
# compiler and this script: a second run reuses it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/debian-sources.sh"

packages=(zlib libpng1.6 libjpeg-turbo)
cache=${BLOB_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/blobdemo}/fuzz-decoders
jobs=$(nproc)
# As the fuzz build compiles the project (scripts/fuzz.sh, cmake/Warnings.cmake).
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
flags="$flags -fno-sanitize-recover=undefined"

say() { echo "fuzz-decoders.sh: $*" >&2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debian_source_index "$work/apt"

key=$({
  for p in "${packages[@]}"; do
    apt-get "${debian_apt[@]}" -qq --print-uris source "$p" 2>/dev/null | awk '{ print $2, $4 }'
  done
  clang --version | head -n 1
  sha256sum "$0" | cut -d ' ' -f 1
} | sha256sum | cut -c 1-16)
prefix=$cache/$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Fetches a package's source and unpacks it as WORK/PACKAGE with Debian's
# patches (apt-get checks every file it fetches against the signed index).
unpack() {
  local dir=$work/fetch/$1
  mkdir -p "$dir"
  (cd "$dir" && apt-get "${debian_apt[@]}" -qq source --download-only "$1") >"$dir.log" 2>&1 || true
  local dsc
  dsc=$(ls "$dir"/*.dsc 2>/dev/null | head -n 1 || true)
  if [ -z "$dsc" ] || ! dpkg-source -x "$dsc" "$work/$1" >>"$dir.log" 2>&1; then
    say "cannot fetch and unpack the source of $1 ($(tail -n 1 "$dir.log"))"
    exit 1
  fi
}

# The sanitizers' runtimes are in the fuzz target, which the libraries are
# loaded into; their own programs link them.
link_flags="-fsanitize=fuzzer-no-link,address,undefined"

build_zlib() {
  (cd "$1" && CC=clang CFLAGS="$flags" LDFLAGS="$link_flags" ./configure --shared \
    --prefix="$prefix" && make -j "$jobs" && make install) >"$1.log" 2>&1
}
build_png() {
  (cd "$1" && ./configure --prefix="$prefix" --enable-shared --disable-static CC=clang \
    CFLAGS="$flags" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib $link_flags" &&
    make -j "$jobs" libpng16.la && make install-libLTLIBRARIES) >"$1.log" 2>&1
}
# The library alone, in C (no SIMD code, which the fuzzer cannot see into).
build_jpeg() {
  cmake -S "$1" -B "$1/build" -DCMAKE_BUILD_TYPE=None -DCMAKE_C_COMPILER=clang \
    -DCMAKE_C_FLAGS="$flags" -DENABLE_STATIC=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >"$1.log" 2>&1 &&
    cmake --build "$1/build" -j "$jobs" --target jpeg >>"$1.log" 2>&1 &&
    cp -P "$1"/build/libjpeg.so* "$prefix/lib/"
}

started=$SECONDS
say "building the picture decoders for the fuzzer from Debian's sources (a few minutes, once)"
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib"
for p in "${packages[@]}"; do unpack "$p"; done
build_from_source zlib build_zlib
build_from_source libpng1.6 build_png
build_from_source libjpeg-turbo build_jpeg
for soname in libz.so.1 libpng16.so.16 libjpeg.so.62; do
  if [ ! -e "$prefix/lib/$soname" ]; then
    say "the build left no $soname"
    exit 1
  fi
done
touch "$prefix/.complete"
for old in "$cache"/*; do [ "$old" = "$prefix" ] || rm -rf "$old"; done
say "the decoders took $((SECONDS - started)) s; kept in $prefix"
echo "$prefix"
