#!/usr/bin/env bash
# Cross-builds the libraries of the Windows build from Debian's source
# packages, with Debian's patches applied, and prints the folder they were
# installed into. scripts/windows.sh calls it.
#
# Usage: scripts/windows-deps.sh
#
# The result is kept under ~/.cache/blobdemo/windows-deps/KEY (BLOB_CACHE_DIR
# moves ~/.cache/blobdemo), where KEY sums up the exact source files, the
# cross compiler and this script: a second run with the same sources and
# compiler reuses it, and any change builds afresh.
#
# What is built, and how it is linked into the programs:
#   SDL 1.2 (SDL.dll, libSDLmain.a), OpenAL Soft (OpenAL32.dll), freealut
#   (alut.dll): shared, as their licence suits best;
#   zlib, libpng, libogg, libvorbis: static;
#   libglu: only unpacked; the build compiles its polygon tessellator.
# Every DLL takes the compiler's runtime statically, so no MinGW DLL ships.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/debian-sources.sh"

host=x86_64-w64-mingw32
cc=$host-gcc-posix # the -posix compilers have std::thread
cxx=$host-g++-posix
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
# package/suite. OpenAL Soft comes from the next release: this release's
# tarball is missing from the archive's mirror here, and the next one's
# builds as it is.
packages=(zlib/$release libpng1.6/$release libogg/$release libvorbis/$release
  libsdl1.2/$release openal-soft/trixie freealut/$release libglu/$release)
cache=${BLOB_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/blobdemo}/windows-deps
jobs=$(nproc)

say() { echo "windows-deps.sh: $*" >&2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
debian_source_index "$work/apt" "$release" trixie

# The files each package's source is made of, as the signed index names them.
source_files() {
  apt-get "${debian_apt[@]}" -qq --print-uris source "$1" 2>/dev/null | awk '{ print $2, $4 }'
}

key=$({
  for p in "${packages[@]}"; do source_files "$p"; done
  $cc --version | head -n 1
  $cxx --version | head -n 1
  sha256sum "$0" | cut -d ' ' -f 1
} | sha256sum | cut -c 1-16)
prefix=$cache/$key
if [ -f "$prefix/.complete" ]; then
  say "reusing the libraries built before ($prefix)"
  echo "$prefix"
  exit 0
fi

# Fetches a package's source and unpacks it as WORK/NAME, with Debian's
# patches when the mirror holds them, else the upstream tarball as it is
# (apt-get checked every file it fetched).
unpack() {
  local package=$1 name=${1%%/*} dir=$work/fetch/${1%%/*}
  mkdir -p "$dir"
  (cd "$dir" && apt-get "${debian_apt[@]}" -qq source --download-only "$package" >"$dir.log" 2>&1) || true
  local dsc
  dsc=$(ls "$dir"/*.dsc 2>/dev/null | head -n 1 || true)
  if [ -n "$dsc" ] && dpkg-source -x "$dsc" "$work/$name" >>"$dir.log" 2>&1; then
    return
  fi
  local tarball
  tarball=$(ls "$dir"/*.orig.tar.* 2>/dev/null | head -n 1 || true)
  if [ -z "$tarball" ]; then
    say "cannot fetch the source of $package ($(tail -n 1 "$dir.log"))"
    exit 1
  fi
  say "$name: the mirror lacks Debian's packaging of it: building the upstream source as it is"
  mkdir -p "$work/$name.orig"
  tar -xf "$tarball" -C "$work/$name.orig"
  mv "$work/$name.orig"/* "$work/$name"
}

# Built in place, so that the paths the libraries record stay true.
staging=$prefix
rm -rf "$prefix"
toolchain=$work/toolchain.cmake
cat >"$toolchain" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cc)
set(CMAKE_CXX_COMPILER $cxx)
set(CMAKE_RC_COMPILER $host-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$host $staging)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
# The compiler's own runtime (libgcc, libstdc++, winpthread) goes into each
# DLL, so that none of its DLLs has to ship: -static for a CMake build, and
# for libtool, which would take -static for a request to build no DLL, the
# thread library named statically after the objects.
static_threads="-Wl,-Bstatic,-lwinpthread,-Bdynamic"

cmake_configure() { # SOURCE_DIR CMAKE_OPTIONS...
  local source=$1
  shift
  cmake -S "$source" -B "$source/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$staging" "$@" >"$source.log" 2>&1
}

configure_build() { # SOURCE_DIR CONFIGURE_OPTIONS...
  local source=$1
  shift
  (cd "$source" && ./configure --host=$host --prefix="$staging" CC=$cc CXX=$cxx \
    CPPFLAGS="-I$staging/include" LDFLAGS="-L$staging/lib" "$@" &&
    make -j "$jobs" && make install) >"$source.log" 2>&1
}

# zlib's dfsg tarball lacks the Windows files its DLL needs: the static
# library only, installed by hand.
build_zlib() {
  cmake_configure "$1" &&
    cmake --build "$1/build" -j "$jobs" --target zlibstatic >>"$1.log" 2>&1 &&
    install -D -m 644 "$1/build/libzlibstatic.a" "$staging/lib/libz.a" &&
    install -m 644 "$1/zlib.h" "$1/build/zconf.h" "$staging/include/"
}
build_png() { configure_build "$1" --disable-shared --enable-static; }
build_ogg() { configure_build "$1" --disable-shared --enable-static; }
build_vorbis() {
  configure_build "$1" --disable-shared --enable-static --disable-docs --disable-examples \
    --disable-oggtest
}
build_sdl() { configure_build "$1" --enable-shared --disable-static LDFLAGS="-L$staging/lib -static-libgcc"; }
# OpenAL Soft is the longest build of all: only what the game uses is built.
# WASAPI plays on Windows, the null and wave-writer backends serve the tests;
# no utilities, examples, EAX extensions or embedded HRTF data.
build_openal() {
  cmake_configure "$1" -DLIBTYPE=SHARED -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF \
    -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_DLOPEN=OFF \
    -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
    -DALSOFT_UPDATE_BUILD_VERSION=OFF -DALSOFT_EAX=OFF -DALSOFT_EMBED_HRTF_DATA=OFF \
    -DALSOFT_BACKEND_WINMM=OFF -DALSOFT_BACKEND_DSOUND=OFF -DALSOFT_BACKEND_WASAPI=ON \
    -DALSOFT_BACKEND_WAVE=ON \
    -DALSOFT_BACKEND_PIPEWIRE=OFF -DALSOFT_BACKEND_PULSEAUDIO=OFF -DALSOFT_BACKEND_JACK=OFF \
    -DALSOFT_BACKEND_PORTAUDIO=OFF -DALSOFT_BACKEND_SDL2=OFF -DALSOFT_BACKEND_SDL3=OFF \
    -DCMAKE_SHARED_LINKER_FLAGS=-static &&
    cmake --build "$1/build" -j "$jobs" >>"$1.log" 2>&1 &&
    cmake --install "$1/build" >>"$1.log" 2>&1
}
# freealut's libtool does not recognise 64-bit import libraries and would
# build no DLL; its configure looks for OpenAL under another name.
build_alut() {
  configure_build "$1" --enable-shared --disable-static LDFLAGS="-L$staging/lib -static-libgcc" \
    LIBS="-lOpenAL32 $static_threads" lt_cv_deplibs_check_method=pass_all
}

started=$SECONDS
say "building the Windows libraries from Debian's sources (a few minutes, once)"
for p in "${packages[@]}"; do unpack "$p"; done
mkdir -p "$staging/include" "$staging/lib" "$staging/bin" "$staging/src"
build_from_source zlib build_zlib
build_from_source libpng1.6 build_png
build_from_source libogg build_ogg
build_from_source libvorbis build_vorbis
build_from_source libsdl1.2 build_sdl
build_from_source openal-soft build_openal
build_from_source freealut build_alut
cp -r "$work/libglu" "$staging/src/glu"

# The DLLs must import nothing of the compiler's runtime.
for dll in "$staging"/bin/*.dll; do
  if $host-objdump -p "$dll" | grep -E 'DLL Name: (libgcc|libstdc|libwinpthread)' >&2; then
    say "$(basename "$dll") imports the compiler's runtime"
    exit 1
  fi
done

touch "$prefix/.complete"
# Only the libraries of the current sources and compiler are kept.
for old in "$cache"/*; do [ "$old" = "$prefix" ] || rm -rf "$old"; done
say "the libraries took $((SECONDS - started)) s; kept in $prefix"
echo "$prefix"
