#!/usr/bin/env bash
# Times a site of the responsive web album theme (`glimix-cli webalbum --theme 5`) on COUNT
# photos of 12 megapixels (200 unless given) against ImageMagick's mogrify making the same files
# (JPEG at 480, 1280 and 2560 pixels wide, WebP of each, and 240 and 480 pixel square
# thumbnails, all at quality 85), both on the same two cores, with peak memory; then generating
# the site again with nothing changed; with THUMBSUP set, thumbsup's default gallery of the same
# photos too (see the end).
# Usage: [THUMBSUP=path/to/thumbsup] bench/compareresponsive.sh [build folder] [COUNT]
#        (needs ffmpeg, mogrify, taskset)
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
count="${2:-200}"
photos="${GLIMMERIX_BENCH_RESPONSIVE:-/tmp/glimmerix-bench-responsive}-$count"
cli="$build/bin/glimix-cli"
mogrify="$(command -v mogrify-im6.q16 || command -v mogrify)"

if [ "$(ls "$photos"/photo*.jpg 2>/dev/null | wc -l)" -ne "$count" ]; then
  mkdir -p "$photos"
  # Photo-like content: a moving test card with grain, 4000 x 3000.
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=4000x3000:rate=1,noise=alls=12:allf=t" \
    -frames:v "$count" -q:v 3 "$photos/photo%04d.jpg"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GLIMMERIX_HOME="$work/home" QT_QPA_PLATFORM=offscreen
"$cli" album new "$work/bench.gmx" >/dev/null
"$cli" album add "$work/bench.gmx" "$photos" >/dev/null

report() { # what wall-seconds kilobytes user-seconds system-seconds
  python3 -c "import sys; t=float(sys.argv[2]); cpu=float(sys.argv[4])+float(sys.argv[5]); print(f'{sys.argv[1]:22} {t:7.2f} s wall, {$count/t:5.1f} photos/s; {cpu:7.2f} s CPU; peak {int(sys.argv[3])//1024} MB')" "$@"
}
timed() { /usr/bin/time -o "$work/time" -f "%e %M %U %S" taskset -c 0,1 "$@"; }

timed "$cli" webalbum "$work/bench.gmx" "$work/site" --theme 5 >/dev/null 2>&1
report "glimix (2 cores)" $(cat "$work/time")
timed "$cli" webalbum "$work/bench.gmx" "$work/site" --theme 5 --replace-package >/dev/null 2>&1
report "glimix again, unchanged" $(cat "$work/time")

# mogrify: one process per size and format, two at a time (one per core), as a make-like tool
# would run them; each writes into its own folder (-path), never over the photos.
mkdir -p "$work/im"
script="$work/mogrify.sh"
{
  echo "set -e"
  echo "m() { out=\"\$1\"; shift; mkdir -p \"\$out\"; '$mogrify' -limit thread 1 -quality 85 \"\$@\" -path \"\$out\" \"$photos\"/photo*.jpg; }"
  for width in 480 1280 2560; do
    echo "m '$work/im/j$width' -resize '${width}x>' -format jpg & m '$work/im/w$width' -resize '${width}x>' -format webp; wait"
  done
  echo "m '$work/im/t1' -thumbnail '240x240^' -gravity center -extent 240x240 -format jpg & m '$work/im/t2' -thumbnail '480x480^' -gravity center -extent 480x480 -format jpg; wait"
} >"$script"
timed bash "$script"
report "mogrify (2 cores)" $(cat "$work/time")

# thumbsup, when THUMBSUP names its program (npm install thumbsup in a folder of your own; it
# needs GraphicsMagick's gm and exiftool): its default gallery of the same photos, the static
# gallery generator the responsive theme is measured against.
if [ -n "${THUMBSUP:-}" ]; then
  timed "$THUMBSUP" --input "$photos" --output "$work/thumbsup" >/dev/null 2>&1
  report "thumbsup (2 cores)" $(cat "$work/time")
fi
