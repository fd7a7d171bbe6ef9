#!/usr/bin/env bash
# Makes the small pictures the tests load in place of the game's art. Each has
# plain, known colours so that a test can tell from a read-back pixel which
# picture, and which part of it, was drawn. Run from anywhere; rewrites
# tests/data/images/. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/images"
convert=/usr/bin/convert

# Portrait: top half yellow, bottom half cyan, so orientation shows.
$convert -size 64x32 xc:'#ffff00' -size 64x32 xc:'#00ffff' -append +repage PNG32:hud_Portrait.png

# Terrain: white on the left half, mid grey on the right, so a world-fixed
# texture shows where world x = 200 (mod 400) falls.
$convert -size 32x64 xc:white -size 32x64 xc:'#808080' +append +repage PNG24:tex_snow.png

# Crate: one flat colour, as a JPEG so the three-byte upload path runs.
$convert -size 64x64 xc:'#c87828' -quality 95 crate.jpg

# Eyes: an opaque green 8x8 block in the middle of a transparent 32x32.
$convert -size 32x32 xc:none -fill '#00ff00' -draw 'rectangle 12,12 19,19' PNG32:eyes_anx.png
# Mouth: the same in magenta.
$convert -size 32x32 xc:none -fill '#ff00ff' -draw 'rectangle 12,12 19,19' PNG32:mouth.png

# Font: every cell of the 14-wide, 33-pixel-pitch grid gets an opaque left
# half whose colour names the cell: red = 18 * column, green = 30 * (row + 3)
# for rows -2..5 (rows below 0 sit at the bottom of the picture); blue 255.
# The space cell (row -2, column 12) stays transparent, as in a real font.
args=()
for row in -2 -1 0 1 2 3 4 5; do
  if [ "$row" -lt 0 ]; then top=$((512 + 33 * row)); else top=$((33 * row)); fi
  for col in $(seq 0 13); do
    [ "$row" -eq -2 ] && [ "$col" -eq 12 ] && continue
    left=$((33 * col))
    args+=(-fill "rgb($((18 * col)),$((30 * (row + 3))),255)" -draw "rectangle $left,$top $((left + 15)),$((top + 31))")
  done
done
$convert -size 512x512 xc:none "${args[@]}" PNG32:font.png

# Pictures for the texture loader's own tests, in tests/data/pictures.
mkdir -p ../pictures && cd ../pictures
# 5x3 pixels: a width whose three-byte rows are not a multiple of 4 bytes.
# Columns red, green, blue, white, black; the bottom row all yellow.
$convert -size 5x3 xc:'#ffff00' -fill red -draw 'point 0,0 point 0,1' -fill lime -draw 'point 1,0 point 1,1' \
  -fill blue -draw 'point 2,0 point 2,1' -fill white -draw 'point 3,0 point 3,1' \
  -fill black -draw 'point 4,0 point 4,1' PNG24:rgb_5x3.png
$convert rgb_5x3.png -type TrueColor BMP3:rgb_5x3.bmp
$convert rgb_5x3.png PNG8:paletted_5x3.png
# Grey levels 0, 64, 128, 192, 255 across; one byte per pixel.
$convert -size 5x1 xc:black -fill 'gray(64)' -draw 'point 1,0' -fill 'gray(128)' -draw 'point 2,0' \
  -fill 'gray(192)' -draw 'point 3,0' -fill white -draw 'point 4,0' -define png:color-type=0 -depth 8 grey_5x1.png
# Broken files: a valid PNG cut off after 41 bytes, a PNG whose first chunk
# claims to run far past the end of the file, and text posing as a PNG.
head -c 41 rgb_5x3.png > truncated.png
{ head -c 8 rgb_5x3.png; printf '\x00\x10\x00\x00'; tail -c +13 rgb_5x3.png; } > overlong_chunk.png
echo "not a picture" > not_a_picture.png
# A PNG without its end chunk, which the decoder reads whole; and one cut
# between two chunks before its image data, which the decoder must not be
# left to read on past the end of.
head -c -12 rgb_5x3.png > no_end_chunk.png
head -c "$(grep -obUa bKGD rgb_5x3.png | head -n 1 | cut -d: -f1)" rgb_5x3.png | head -c -4 > cut_before_image.png
# One damaged byte in the image data (the decoder fails and prints an error
# of its own), and one in a chunk it can do without (it prints a warning
# and decodes the picture).
damage() {  # FILE CHUNK-TYPE: copies rgb_5x3.png and changes a byte of the chunk's data
  local type_at
  type_at=$(grep -obUa "$2" rgb_5x3.png | head -n 1 | cut -d: -f1)
  cp rgb_5x3.png "$1"
  printf '\x55' | dd of="$1" bs=1 seek=$((type_at + 7)) conv=notrunc status=none
}
damage bad_image_crc.png IDAT
damage bad_ancillary_crc.png tIME
# A header that claims 100000 x 100000 pixels.
{ head -c 16 rgb_5x3.png; printf '\x00\x01\x86\xa0\x00\x01\x86\xa0'; tail -c +25 rgb_5x3.png; } > huge.png

# Pictures with a different colour in each quarter, for the tests that must
# tell a picture from its mirror image or a part of it from another: the
# terrain, the crate, the eyes and the mouth. The font and the portrait are
# the ones above.
mkdir -p ../corner_images && cd ../corner_images
quarters() {  # SIZE TOP-LEFT TOP-RIGHT BOTTOM-LEFT BOTTOM-RIGHT OUTPUT...
  local half=$(($1 / 2))
  $convert \( -size ${half}x${half} xc:"$2" xc:"$3" +append \) \
    \( -size ${half}x${half} xc:"$4" xc:"$5" +append \) -append +repage "${@:6}"
}
quarters 64 '#ff0000' '#00ff00' '#0000ff' '#ffff00' PNG24:tex_snow.png
quarters 64 '#ff8000' '#0080ff' '#8000ff' '#00ff80' -quality 95 crate.jpg
quarters 32 '#ff0080' '#80ff00' '#008080' '#8080ff' PNG32:eyes_anx.png
quarters 32 '#c80000' '#00c800' '#0000c8' '#c8c8c8' PNG32:mouth.png
cp ../images/font.png ../images/hud_Portrait.png .
