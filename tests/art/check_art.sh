#!/usr/bin/env bash
# Fails when a picture in data/images no longer matches its source in art/:
# regenerates every picture into a scratch folder with tools/make_art.sh and
# compares decoded pixels with the shipped files. PNGs must match exactly;
# JPEG pixels may differ by a little, in case another libjpeg build rounds
# differently. On a mismatch the regenerated picture and a difference picture
# are kept in ./art_mismatch for a look.
#
#   check_art.sh REPO_DIR [MAKE_FONT]
set -uo pipefail

repo=${1:?usage: check_art.sh REPO_DIR [MAKE_FONT]}
make_font=${2:-}
shipped=$repo/data/images
compare=/usr/bin/compare
jpeg_peak_error=8  # levels of 255: colour distance a JPEG pixel may be off by

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

font_args=()
[ -n "$make_font" ] && font_args=(--make-font "$make_font")
if ! "$repo/tools/make_art.sh" "${font_args[@]}" "$scratch/images"; then
  echo "FAIL: tools/make_art.sh could not regenerate the pictures" >&2
  exit 1
fi

# Prints the number of pixels that differ by more than the fuzz (in percent).
# compare writes that number to stderr, so stderr is kept and stdout dropped.
differing_pixels() {
  # shellcheck disable=SC2069
  "$compare" -metric AE -fuzz "$3" "$1" "$2" "$4" 2>&1 >/dev/null
}

rm -rf art_mismatch  # left over from an earlier failing run
failures=0
report() {
  echo "FAIL: $1" >&2
  failures=$((failures + 1))
}

for made in "$scratch"/images/*; do
  name=$(basename "$made")
  [ -f "$shipped/$name" ] || { report "data/images/$name is missing; run tools/make_art.sh"; continue; }
  fuzz=0
  case $name in *.jpg) fuzz=$(awk "BEGIN { print $jpeg_peak_error * 100 / 255 }")% ;; esac
  mkdir -p art_mismatch
  diff_picture=art_mismatch/${name%.*}.diff.png
  count=$(differing_pixels "$made" "$shipped/$name" "$fuzz" "$diff_picture")
  if [ "$count" = 0 ]; then
    rm -f "$diff_picture"
    echo "ok: $name"
  elif ! [[ $count =~ ^[0-9.e+]+$ ]]; then
    report "data/images/$name cannot be compared with its source: $count"
  else
    cp "$made" "art_mismatch/$name"
    report "data/images/$name differs from its source in $count pixels" \
      "(regenerated copy and difference in $(pwd)/art_mismatch; run tools/make_art.sh)"
  fi
done
rmdir art_mismatch 2>/dev/null

for kept in "$shipped"/*; do
  [ -e "$scratch/images/$(basename "$kept")" ] ||
    report "data/images/$(basename "$kept") has no source in art/"
done

[ "$failures" -eq 0 ]
