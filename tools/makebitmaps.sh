#!/usr/bin/env bash
# Draws the numbered bitmaps and icons of the English language bundle into lang/en/bitmaps and
# lang/en/icons with ImageMagick. The PNGs are committed; run this again after changing a picture.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bitmaps="$root/lang/en/bitmaps"
icons="$root/lang/en/icons"
mkdir -p "$bitmaps" "$icons"

sans=DejaVu-Sans
sans_bold=DejaVu-Sans-Bold
# Metadata such as creation dates would change the files on every run.
save() { convert - -depth 8 -strip -define png:exclude-chunks=date,time "$1"; }

# 180: the start-up picture, 400 x 250.
convert -size 400x250 gradient:'#1d3557'-'#4f9fd0' \
  \( -size 400x250 radial-gradient:'#ffffff40'-'#ffffff00' \) -compose over -composite \
  -fill '#ffffff18' -draw 'circle 345,45 345,115' -draw 'circle 55,220 55,265' \
  -fill white -font "$sans_bold" -pointsize 54 -gravity center -annotate +0-22 'Glimmerix' \
  -fill '#e8f1fa' -font "$sans" -pointsize 26 -annotate +0+32 'Version 2.0' \
  -fill '#c9dced' -pointsize 12 -gravity south -annotate +0+12 'Albums of pictures, clips and sounds' \
  png:- | save "$bitmaps/180.png"

# 195, 196, 197: the launcher button backgrounds (normal, pressed, hover), 55 x 55.
button() { # $1 top colour, $2 bottom colour, $3 light edge, $4 dark edge, $5 file
  convert -size 55x55 gradient:"$1"-"$2" \
    -fill none -stroke "$3" -draw 'line 0,0 54,0' -draw 'line 0,0 0,54' \
    -stroke "$4" -draw 'line 0,54 54,54' -draw 'line 54,0 54,54' \
    -stroke '#00000030' -draw 'roundrectangle 2,2 52,52 6,6' png:- | save "$5"
}
button '#fbfcfe' '#d7dee8' '#ffffff' '#7d8896' "$bitmaps/195.png"
button '#b9c6d6' '#e3e9f0' '#6f7b8a' '#ffffff' "$bitmaps/196.png"
button '#ffffff' '#cfe3f7' '#ffffff' '#3d7cc0' "$bitmaps/197.png"

# 145: what an embedded album with no items shows, 64 x 64.
convert -size 64x64 xc:'#f4f6f9' -fill none -stroke '#8a96a6' -strokewidth 2 \
  -draw 'roundrectangle 8,12 56,52 4,4' -draw 'line 8,22 56,22' \
  -stroke '#b8c2ce' -strokewidth 1 -draw 'rectangle 14,28 28,44' -draw 'rectangle 36,28 50,44' \
  -fill '#8a96a6' -stroke none -font "$sans" -pointsize 9 -gravity south -annotate +0+2 'empty' \
  png:- | save "$bitmaps/145.png"

# Toolbar strips: 16 x 16 buttons side by side, drawn on a transparent background.
glyph() { # $1 file, then ImageMagick drawing arguments
  local out="$1"; shift
  convert -size 16x16 xc:none "$@" "png32:$out"
}
strip() { # $1 output, then the glyph files in button order
  local out="$1"; shift
  convert "$@" +append png:- | save "$out"
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ink='#2b3a4a'

# 163: picture window tools, in button order: select, rotate, brightness, contrast, saturation,
# sharpness, centre selection, zoom in, zoom out, undo, play sound, record sound.
glyph "$work/01.png" -fill none -stroke "$ink" -draw 'stroke-dasharray 2 2 rectangle 2,3 13,12'
glyph "$work/02.png" -fill none -stroke "$ink" -strokewidth 1.5 -draw 'arc 2,2 13,13 200,470' \
  -fill "$ink" -stroke none -draw 'polygon 11,1 15,5 10,6'
glyph "$work/03.png" -fill '#f2b705' -stroke "$ink" -draw 'circle 8,8 8,4' \
  -draw 'line 8,0 8,2' -draw 'line 8,14 8,16' -draw 'line 0,8 2,8' -draw 'line 14,8 16,8' \
  -draw 'line 2,2 3,3' -draw 'line 13,13 14,14' -draw 'line 2,14 3,13' -draw 'line 13,3 14,2'
glyph "$work/04.png" -fill white -stroke "$ink" -draw 'circle 8,8 8,2' \
  -fill "$ink" -stroke none -draw 'path "M 8,2 A 6,6 0 0 1 8,14 Z"'
glyph "$work/05.png" -stroke none -fill '#e63946' -draw 'circle 8,5 8,1' \
  -fill '#2a9d8f' -draw 'circle 5,11 5,7' -fill '#457b9d' -draw 'circle 11,11 11,7'
glyph "$work/06.png" -fill none -stroke "$ink" -strokewidth 1.5 -draw 'polyline 1,13 8,2 15,13' \
  -draw 'line 4,13 12,13'
glyph "$work/07.png" -fill none -stroke "$ink" -draw 'rectangle 1,1 14,14' \
  -fill "$ink" -draw 'rectangle 5,5 10,10'
glyph "$work/08.png" -fill none -stroke "$ink" -strokewidth 1.5 -draw 'circle 6,6 6,1' \
  -draw 'line 10,10 15,15' -strokewidth 1 -draw 'line 4,6 8,6' -draw 'line 6,4 6,8'
glyph "$work/09.png" -fill none -stroke "$ink" -strokewidth 1.5 -draw 'circle 6,6 6,1' \
  -draw 'line 10,10 15,15' -strokewidth 1 -draw 'line 4,6 8,6'
glyph "$work/10.png" -fill none -stroke "$ink" -strokewidth 1.5 -draw 'arc 3,4 14,14 180,400' \
  -fill "$ink" -stroke none -draw 'polygon 0,9 6,9 3,4'
glyph "$work/11.png" -fill "$ink" -stroke none -draw 'polygon 1,6 4,6 8,2 8,14 4,10 1,10' \
  -fill none -stroke "$ink" -draw 'arc 7,5 12,11 -60,60' -draw 'arc 7,2 15,14 -60,60'
glyph "$work/12.png" -fill '#d62828' -stroke none -draw 'circle 8,8 8,3' \
  -fill none -stroke "$ink" -draw 'circle 8,8 8,1'
strip "$bitmaps/163.png" "$work"/{01,02,03,04,05,06,07,08,09,10,11,12}.png

# 4: the toolbar of the album shown inside another program: cut, copy, paste.
glyph "$work/cut.png" -fill none -stroke "$ink" -draw 'circle 4,12 4,9' -draw 'circle 12,12 12,9' \
  -draw 'line 5,10 11,1' -draw 'line 11,10 5,1'
glyph "$work/copy.png" -fill white -stroke "$ink" -draw 'rectangle 1,1 9,11' -draw 'rectangle 6,4 14,14'
glyph "$work/paste.png" -fill '#d9b38c' -stroke "$ink" -draw 'rectangle 2,2 12,14' \
  -fill white -draw 'rectangle 7,6 14,15' -fill "$ink" -draw 'rectangle 5,1 9,3'
strip "$bitmaps/4.png" "$work"/{cut,copy,paste}.png

# Icon 303: the sign of an attached sound in a thumbnail cell, 9 x 12 (drawn at right - 11, so it
# ends just inside the cell's border). Drawn eight times larger and reduced for smooth edges.
convert -size 72x96 xc:none -fill '#1d3557' -stroke none \
  -draw 'ellipse 20,76 18,14 0,360' -draw 'rectangle 31,8 38,76' \
  -draw 'path "M 38,8 C 50,20 70,26 64,52 C 60,36 50,32 38,30 Z"' \
  -resize 9x12 png32:- | save "$icons/303.png"

# Icon 129: the program's own icon, 32 x 32: a small stack of photos.
convert -size 32x32 xc:none \
  -fill '#e9eef4' -stroke '#5b6b7d' -draw 'roundrectangle 7,3 29,23 2,2' \
  -fill white -draw 'roundrectangle 3,8 25,28 2,2' \
  -fill '#4f9fd0' -stroke none -draw 'rectangle 6,11 22,21' \
  -fill '#2a9d8f' -draw 'polygon 6,21 12,14 16,18 18,16 22,21' \
  -fill '#f2b705' -draw 'circle 19,13 19,11' png32:- | save "$icons/129.png"

echo "bitmaps: $(cd "$bitmaps" && ls | tr '\n' ' ')"
echo "icons: $(cd "$icons" && ls | tr '\n' ' ')"
