#!/usr/bin/env bash
# Makes the game's pictures from their sources in art/.
#
#   tools/make_art.sh [--make-font PROGRAM] [OUTPUT_DIR]
#
# OUTPUT_DIR defaults to data/images. PROGRAM is a built tools/make_font; when
# it is not given, make_font is built on the spot in a scratch folder.
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert (imagemagick),
# DejaVu Sans Mono Bold (fonts-dejavu-core) and, to build make_font, cmake,
# a C++ compiler and libfreetype-dev.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
art=$repo/art
font_file=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
# ImageMagick's own program, named in full so that no other "convert" on the
# PATH gets the job.
convert=/usr/bin/convert
jpeg_quality=92  # percent; the crate's edges stay clean at this setting

fail() {
  echo "make_art: $*" >&2
  exit 1
}

make_font=""
out=$repo/data/images
while [ $# -gt 0 ]; do
  case $1 in
    --make-font) [ $# -ge 2 ] || fail "--make-font needs a program"; make_font=$2; shift 2 ;;
    -*) fail "unknown option $1 (usage: make_art.sh [--make-font PROGRAM] [OUTPUT_DIR])" ;;
    *) out=$1; shift ;;
  esac
done

command -v rsvg-convert >/dev/null || fail "rsvg-convert not found (install librsvg2-bin)"
[ -x "$convert" ] || fail "ImageMagick not found: $convert (install imagemagick)"
[ -r "$font_file" ] || fail "font not found: $font_file (install fonts-dejavu-core)"
mkdir -p "$out" || fail "cannot create output folder: $out"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [ -z "$make_font" ]; then
  cmake -S "$repo/tools/make_font" -B "$scratch/make_font" -DCMAKE_BUILD_TYPE=Release >/dev/null \
    || fail "cannot configure tools/make_font (needs cmake and libfreetype-dev)"
  cmake --build "$scratch/make_font" -j2 >/dev/null || fail "cannot build tools/make_font"
  make_font=$scratch/make_font/make_font
fi
[ -x "$make_font" ] || fail "make_font is not an executable program: $make_font"

# PNG output without the time stamps ImageMagick would otherwise write, so an
# unchanged source gives an unchanged file.
png_options=(-strip -define 'png:exclude-chunks=date,time')

# An SVG rendered at its own size to an 8-bit RGBA PNG.
svg_to_rgba() {
  rsvg-convert "$art/$1.svg" | "$convert" png:- "${png_options[@]}" "PNG32:$out/$1.png" \
    || fail "cannot render $art/$1.svg"
}

# The snow page shows its tile among its neighbours so that blurs reach
# across the edges; the texture is the middle tile. Opaque, so RGB.
snow_texture() {
  rsvg-convert "$art/tex_snow.svg" \
    | "$convert" png:- -crop 256x256+256+256 +repage -alpha off "${png_options[@]}" \
      "PNG24:$out/tex_snow.png" \
    || fail "cannot render $art/tex_snow.svg"
}

# The crate is a three-channel JPEG; 4:4:4 sampling keeps its thin dark lines
# from smearing into the wood.
crate_texture() {
  rsvg-convert "$art/crate.svg" \
    | "$convert" png:- -background black -alpha remove -alpha off -type TrueColor \
      -sampling-factor 1x1 -quality "$jpeg_quality" -strip "$out/crate.jpg" \
    || fail "cannot render $art/crate.svg"
}

font_picture() {
  "$make_font" "$font_file" "$scratch/font.pam" || fail "make_font failed"
  "$convert" "$scratch/font.pam" "${png_options[@]}" "PNG32:$out/font.png" \
    || fail "cannot convert the font picture"
}

svg_to_rgba eyes_anx
svg_to_rgba mouth
svg_to_rgba hud_Portrait
snow_texture
crate_texture
font_picture
