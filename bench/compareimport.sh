#!/usr/bin/env bash
# Times the album import (glimix-cli album add, a whole process: start, 40 photos, save) on one
# core and on two against the outside tools on the same photos in the same hyperfine run:
#   12-megapixel photos: vipsthumbnail and ImageMagick, both with a size hint (libjpeg's DCT
#   scaling), one core and two;
#   1600 x 1200 photos: the plain C libjpeg loop with the import's decoding (bench_jpegloop).
# Prints medians with their spread (interquartile range) and the ratios; peak memory of the
# import from /usr/bin/time. Usage: bench/compareimport.sh [build folder] [runs]
# Needs hyperfine, vipsthumbnail, ImageMagick (mogrify), taskset and /usr/bin/time (tools/setup.sh).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-7}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-importbench}"
count=40
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home"
cli="$build/bin/glimix-cli"
mkdir -p "$work/home" "$work/out"

make_photos() { # folder size
  GLIMMERIX_BENCH_PHOTOS="$1" GLIMMERIX_BENCH_PHOTO_COUNT=$count GLIMMERIX_BENCH_PHOTO_SIZE="$2" \
    "$build/bench/bench_albumimport" --make-photos-only
}
make_photos "$work/12mp" 4000x3000
make_photos "$work/2mp" 1600x1200

album="$work/bench.gal"
fresh="rm -f $album $work/out/*; $cli album new $album"

summary() { # json photos-per-run
  python3 - "$1" "$2" <<'PY'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
photos = int(sys.argv[2])
base = None
for r in results:
    t = sorted(r["times"])
    q = statistics.quantiles(t, n=4) if len(t) > 1 else [t[0], t[0], t[0]]
    med = statistics.median(t)
    base = base or med
    print(f'{r["command"]:<28} median {med*1000:7.0f} ms (IQR {q[0]*1000:.0f}-{q[2]*1000:.0f}),'
          f' {photos/med:6.1f} photos/s, {med/base:5.2f}x the first row')
PY
}

files12=("$work"/12mp/*.jpg)
hyperfine -N -w 1 -r "$runs" --export-json "$work/12mp.json" --prepare "sh -c '$fresh'" \
  -n 'glimmerix, 1 core' "taskset -c 0 $cli album add $album $work/12mp" \
  -n 'glimmerix, 2 cores' "$cli album add $album $work/12mp" \
  -n 'vipsthumbnail, 1 core' "taskset -c 0 vipsthumbnail --size 80x80 -o $work/out/%s.jpg ${files12[*]}" \
  -n 'vipsthumbnail, 2 cores' "vipsthumbnail --size 80x80 -o $work/out/%s.jpg ${files12[*]}" \
  -n 'ImageMagick, 1 core' "taskset -c 0 mogrify -path $work/out -define jpeg:size=160x160 -thumbnail 80x80 ${files12[*]}" \
  -n 'ImageMagick, 2 cores' "mogrify -path $work/out -define jpeg:size=160x160 -thumbnail 80x80 ${files12[*]}" \
  >/dev/null
echo "40 photos of 4000 x 3000:"
summary "$work/12mp.json" $count

files2=("$work"/2mp/*.jpg)
hyperfine -N -w 1 -r "$runs" --export-json "$work/2mp.json" --prepare "sh -c '$fresh'" \
  -n 'plain C loop, 1 core' "taskset -c 0 $build/bench/bench_jpegloop ${files2[*]}" \
  -n 'glimmerix, 1 core' "taskset -c 0 $cli album add $album $work/2mp" \
  -n 'glimmerix, 2 cores' "$cli album add $album $work/2mp" \
  -n 'glimix-cli album new' "$cli album new $work/out/empty.gal" \
  >/dev/null
echo "40 photos of 1600 x 1200:"
summary "$work/2mp.json" $count

for cores in 0 0,1; do
  sh -c "$fresh" >/dev/null
  peak=$(/usr/bin/time -f %M taskset -c $cores "$cli" album add "$album" "$work/12mp" 2>&1 >/dev/null | tail -1)
  echo "peak resident memory, 12 MP import on cores $cores: $((peak / 1024)) MB"
done
