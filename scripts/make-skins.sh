#!/usr/bin/env bash
# Draws the button bitmaps of the shipped skins (73 x 25 pixels, 1095 x 375 twips) with
# ImageMagick. The bitmaps are committed; run this only to change their look.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v convert >/dev/null || { echo "needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# draw SKIN NAME LABEL TOP BOTTOM TEXT PRESSED_TOP PRESSED_BOTTOM PRESSED_TEXT
draw() {
    local dir=resources/skins/$1 name=$2 label=$3
    mkdir -p "$dir"
    convert -size 73x25 gradient:"$4"-"$5" -bordercolor "#404040" -border 1 -shave 1x1 \
        -fill "$6" -stroke none -font "$font" -pointsize 11 -gravity center -annotate +0+0 "$label" \
        -type TrueColor "BMP3:$dir/$name.bmp"
    convert -size 73x25 gradient:"$8"-"$7" -bordercolor "#202020" -border 1 -shave 1x1 \
        -fill "$9" -stroke none -font "$font" -pointsize 11 -gravity center -annotate +1+1 "$label" \
        -type TrueColor "BMP3:$dir/${name}_down.bmp"
}

for b in open:Open play:Play pause:Pause stop:Stop next:Next; do
    draw default "${b%%:*}" "${b#*:}" "#fdfdfd" "#c8c8c8" "#202020" "#9a9a9a" "#d8d8d8" "#000000"
    draw night "${b%%:*}" "${b#*:}" "#3a4a6a" "#101828" "#f0d070" "#050a14" "#283858" "#ffffff"
done
