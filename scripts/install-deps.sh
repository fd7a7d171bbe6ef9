#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the demo.
# Idempotent: when everything is already installed it only checks and returns.
# Works as root or through sudo. Then fetches the source of the simulation's
# portable maths into its cache, once (scripts/maths-source.sh).
#   --web        also what the browser build needs (scripts/web.sh)
#   --web-tests  also what its tests need: a browser and its remote control
#   --windows    also what the Windows build (scripts/windows.sh) and its tests
#                need: MinGW-w64, Wine, stb_image, zip
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  # game libraries
  libsdl1.2-dev libsdl-image1.2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libalut-dev libvorbis-dev libosmesa6-dev libmd-dev
  # tests, fuzzing and benchmarks
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth x11-utils xdotool imagemagick sox vorbis-tools libx11-dev libxtst-dev groff-base
  # art pipeline
  librsvg2-bin libfreetype-dev fonts-dejavu-core
  # level tool
  nlohmann-json3-dev libpng-dev
)

for option in "$@"; do
  case "$option" in
    --web) packages+=(emscripten) ;;
    --web-tests) packages+=(emscripten chromium python3 python3-websocket python3-pil) ;;
    --windows) packages+=(mingw-w64 wine64 wine libstb-dev dpkg-dev zip unzip python3 python3-pil) ;;
    *)
      echo "usage: install-deps.sh [--web] [--web-tests] [--windows]" >&2
      exit 2
      ;;
  esac
done

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
