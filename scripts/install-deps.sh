#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the demo.
# Idempotent: when everything is already installed it only checks and returns.
# Works as root or through sudo. Then fetches the source of the simulation's
# portable maths into its cache, once (scripts/maths-source.sh).
#   (no option)  everything to build, play and test (scripts/test.sh)
#   --play       only what building and playing the game and its tools needs
#                (scripts/play.sh): no test, fuzzing or benchmark tools
#   --web        also what the browser build needs (scripts/web.sh)
#   --web-tests  also what its tests need: a browser and its remote control
#   --windows    also what the Windows build (scripts/windows.sh) and its tests
#                need: MinGW-w64, Wine, stb_image, zip
set -euo pipefail

# What the game and its tools (scripts/play.sh) need.
play_packages=(
  # build
  build-essential cmake pkg-config
  # game libraries
  libsdl1.2-dev libsdl-image1.2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libalut-dev libvorbis-dev libmd-dev
  # level tool, and the font maker beside it
  nlohmann-json3-dev libpng-dev libfreetype-dev
  # a virtual screen, for a machine without one (xvfb-run) and leveltool render
  xvfb xauth
)
# What the tests, fuzzing, benchmarks and the art pipeline need on top.
test_packages=(
  libosmesa6-dev
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  x11-utils xdotool imagemagick sox vorbis-tools libx11-dev libxtst-dev groff-base
  librsvg2-bin fonts-dejavu-core
  # the compiler cache scripts/test.sh builds through
  ccache
)

usage() {
  echo "usage: install-deps.sh [--play] [--web] [--web-tests] [--windows]" >&2
  exit 2
}

play_only=0
extra_packages=()
for option in "$@"; do
  case "$option" in
    --play) play_only=1 ;;
    --web) extra_packages+=(emscripten) ;;
    --web-tests) extra_packages+=(emscripten chromium python3 python3-websocket python3-pil) ;;
    --windows) extra_packages+=(mingw-w64 wine64 wine libstb-dev dpkg-dev zip unzip python3 python3-pil) ;;
    *) usage ;;
  esac
done
packages=("${play_packages[@]}")
[ "$play_only" -eq 1 ] || packages+=("${test_packages[@]}")
packages+=("${extra_packages[@]}")

top=$(cd "$(dirname "$0")/.." && pwd)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then sudo_cmd=(); else sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$top/scripts/maths-source.sh" >/dev/null
