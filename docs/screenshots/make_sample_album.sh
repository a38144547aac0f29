#!/usr/bin/env bash
# Makes the sample album shown in main-window.png: pictures drawn with ImageMagick, a clip and a
# sound made with FFmpeg, an item whose file is then deleted, and one with an attached sound.
# Usage: make_sample_album.sh GLIMMERIX_HOME [BIN_DIR]
set -euo pipefail
home="$1"
bin="${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/bin}"
media="$home/PHOTOS/sample"
mkdir -p "$media"
export GLIMMERIX_HOME="$home"
cli() { "$bin/glimix-cli" "$@"; }

make_plasma() { convert -seed "$2" -size "$3" plasma:"$4" -blur 0x1 "$media/$1"; }
make_plasma harbour.jpg 11 640x480 steelblue-lightcyan
make_plasma meadow.jpg 12 640x480 darkgreen-yellowgreen
make_plasma sunset.jpg 13 800x450 orange-purple
make_plasma desert.jpg 14 640x400 goldenrod-sienna
make_plasma glacier.jpg 15 480x640 white-lightblue
make_plasma lavender.jpg 16 640x480 mediumpurple-thistle
make_plasma coral.jpg 17 600x600 coral-turquoise
make_plasma autumn.jpg 18 640x480 darkorange-firebrick
make_plasma night.jpg 19 640x360 midnightblue-black
make_plasma orchard.jpg 20 480x640 olivedrab-pink
convert rose: -resize 400x "$media/rose.jpg"
convert wizard: -resize 320x "$media/wizard.jpg"
convert logo: -resize 480x "$media/logo.bmp"
convert granite: -resize 300x300 "$media/granite.jpg"
convert -size 640x480 gradient:skyblue-white \( -size 640x160 gradient:forestgreen-darkgreen \) \
  -gravity south -composite "$media/hills.jpg"
convert -size 640x480 radial-gradient:yellow-darkorange "$media/sun.jpg"
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=2:size=320x240:rate=10 \
  -c:v mpeg4 "$media/parade.avi"
ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=1 "$media/birdsong.wav"
ffmpeg -loglevel error -y -f lavfi -i sine=frequency=660:duration=1 "$media/voice-note.wav"
convert -size 300x200 xc:gray50 "$media/old-scan.jpg"

album="Holiday 2026"
rm -f "$home/ALBUMS/$album.gmx"
cli album new "$album" >/dev/null
cli album add "$album" "$media"/{harbour,meadow,sunset,desert,glacier,lavender,coral,autumn}.jpg \
  "$media/parade.avi" "$media"/{night,orchard,rose,wizard}.jpg "$media/logo.bmp" \
  "$media/granite.jpg" "$media/birdsong.wav" "$media"/{hills,sun,old-scan}.jpg
cli album set-caption "$album" "Summer holiday by the sea"
cli album set-text "$album" 0 caption "The harbour at dawn"
cli album set-text "$album" 0 keywords "harbour, boats, morning"
cli album set-text "$album" 0 description "Fishing boats coming in before sunrise."
cli album attach "$album" 2 "$media/voice-note.wav" "voice-note"
# The scanned picture was moved away after it was added: its item shows the missing-file sign.
rm -f "$media/old-scan.jpg"
echo "$home/ALBUMS/$album.gmx"
