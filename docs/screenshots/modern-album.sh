#!/usr/bin/env bash
# Takes modern-album.png: about thirty files of today's types (HEIC, AVIF, WebP, PNG, GIF, JPEG
# with an EXIF orientation, camera RAW, MP4, WebM, MKV, FLAC, Ogg) made by the outside tools that
# make them, added to a new album with `glimix-cli album add FOLDER`, shown in the main window.
# Usage: modern-album.sh [BIN_DIR] (run inside xvfb-run -a -s "-screen 0 1024x768x24")
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
media="$work/today"
mkdir -p "$media"
cli() { "$bin/glimix-cli" "$@"; }
quiet=(-loglevel error -y)

# Source pictures, landscape and portrait (the portrait ones show that every product turns them).
plasma() { convert -seed "$1" -size "$2" plasma:"$3" -blur 0x1 -depth 8 "$work/$4.png"; }
plasma 21 640x480 steelblue-lightcyan sea
plasma 22 480x640 darkgreen-yellowgreen fern
plasma 23 640x400 orange-purple dusk
plasma 24 640x480 goldenrod-sienna dune
plasma 25 480x640 white-lightblue ice
plasma 26 640x480 mediumpurple-thistle heather
plasma 27 600x600 coral-turquoise reef
plasma 28 640x360 midnightblue-black night

for name in sea fern dusk dune ice; do heif-enc -q 70 -o "$media/IMG_${name^^}.HEIC" "$work/$name.png" >/dev/null; done
for name in heather reef night; do heif-enc -A -q 70 -o "$media/$name.avif" "$work/$name.png" >/dev/null; done
for name in sea fern dune reef; do cwebp -quiet -q 80 "$work/$name.png" -o "$media/$name-sticker.webp"; done
convert rose: -resize 400x "$media/rose.png"
convert "$work/dusk.png" -depth 16 "$media/dusk-16bit.png"
convert wizard: -resize 320x -colors 64 "PNG8:$media/wizard-palette.png"
convert -size 320x240 xc:none -fill orange -draw "circle 160,120 160,20" "$media/sun-alpha.png"
convert -delay 20 -size 200x150 gradient:yellow-red gradient:red-blue "$media/blink.gif"
convert granite: -resize 240x "$media/granite.gif"
# Phone photos stored lying on their side, with EXIF orientation 6: shown upright.
for name in ice heather; do
  convert "$work/$name.png" -rotate -90 "$media/phone-$name.jpeg"
  exiftool -q -overwrite_original -Orientation#=6 "$media/phone-$name.jpeg"
done
convert "$work/night.png" "$media/night.jfif"
for n in 1 2 3; do
  /usr/bin/python3 "$here/../../tools/generators/makedng.py" "$media/DSC_000$n.DNG" \
    --size 600x400 --preview rgb --orientation $((n == 2 ? 6 : 1))
done
ffmpeg "${quiet[@]}" -f lavfi -i testsrc=duration=2:size=320x240:rate=10 -f lavfi \
  -i sine=duration=2 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$media/VID_0001.mp4"
ffmpeg "${quiet[@]}" -f lavfi -i mandelbrot=size=320x240:rate=10 -t 2 -c:v libx264 \
  -pix_fmt yuv420p -metadata:s:v rotate=90 "$media/VID_0002.mp4"
ffmpeg "${quiet[@]}" -f lavfi -i life=size=320x240:rate=10 -t 2 -c:v libvpx "$media/clip.webm"
ffmpeg "${quiet[@]}" -f lavfi -i smptebars=size=320x240:rate=10 -t 2 -c:v mpeg4 "$media/camcorder.mkv"
sox -n "$media/birdsong.flac" synth 1 sine 880
sox -n "$media/rain.ogg" synth 1 pinknoise

album="Today"
cli album new "$album" >/dev/null
cli album add "$album" "$media" || true
cli album set-caption "$album" "Today's photo library"

start_window "$GLIMMERIX_HOME/ALBUMS/$album.gmx"
sleep 3
import -window "$window" "$here/modern-album.png"
