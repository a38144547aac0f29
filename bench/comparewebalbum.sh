#!/usr/bin/env bash
# Times `glimix-cli webalbum` on 40 photos of 12 megapixels against ImageMagick doing the same
# work in one process (each photo read once, written as a JPEG at quality 90 and resized to its
# 80 x 60 thumbnail, also written at quality 90), on one core and on two, with peak memory.
# Usage: bench/comparewebalbum.sh [build folder]   (needs ffmpeg, convert-im6.q16, taskset)
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
photos="${GLIMMERIX_BENCH_WEBALBUM:-/tmp/glimmerix-bench-webalbum}"
count=40
cli="$build/bin/glimix-cli"
magick="$(command -v convert-im6.q16 || command -v magick)"

if [ "$(ls "$photos"/*.jpg 2>/dev/null | wc -l)" -lt "$count" ]; then
  mkdir -p "$photos"
  # Photo-like content: a moving test card with grain, 4000 x 3000, about 3 MB each.
  ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=4000x3000:rate=1,noise=alls=12:allf=t" \
    -frames:v "$count" -q:v 3 "$photos/photo%02d.jpg"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GLIMMERIX_HOME="$work/home" QT_QPA_PLATFORM=offscreen
"$cli" album new "$work/bench.gmx" >/dev/null
"$cli" album add "$work/bench.gmx" "$photos" >/dev/null

# ImageMagick's arguments: one parenthesised chain per photo, all in one process.
args=()
mkdir -p "$work/im"
for f in "$photos"/*.jpg; do
  name="$(basename "$f" .jpg)"
  args+=( "(" "$f" -quality 90 -write "$work/im/$name.jpg" -resize 80x60 -write "$work/im/sm_$name.jpg" +delete ")" )
done

report() { # tool cores wall-seconds kilobytes user-seconds system-seconds
  python3 -c "import sys; t=float(sys.argv[3]); cpu=float(sys.argv[5])+float(sys.argv[6]); print(f'{sys.argv[1]:12} {sys.argv[2]} core(s): {t:6.2f} s wall, {$count/t:5.1f} images/s; {cpu:6.2f} s CPU, {$count/cpu:5.1f} images per CPU second; peak {int(sys.argv[4])//1024} MB')" "$@"
}
for cores in 1 2; do
  cpus=$([ "$cores" = 1 ] && echo 0 || echo 0,1)
  rm -rf "$work/site"
  /usr/bin/time -o "$work/time" -f "%e %M %U %S" taskset -c "$cpus" "$cli" webalbum \
    "$work/bench.gmx" "$work/site" >/dev/null 2>&1 || true
  report glimix "$cores" $(cat "$work/time")
  /usr/bin/time -o "$work/time" -f "%e %M %U %S" taskset -c "$cpus" "$magick" -limit thread "$cores" \
    "${args[@]}" -size 1x1 xc:black null:
  report imagemagick "$cores" $(cat "$work/time")
done
