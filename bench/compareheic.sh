#!/usr/bin/env bash
# Times the album import of 40 phone-size HEIC photos (4032 x 3024; glimix-cli album add, a whole
# process: start, 40 photos, save) on one core against the outside tools on the same files, in
# the same hyperfine run:
#   with a 320 x 240 embedded thumbnail: vipsthumbnail --size 80 (which uses it too);
#   without one: heif-convert decoding each file to JPEG, once per file as a user would run it.
# The 40 files are copies of one photo per kind (HEVC encoding of 12 megapixels takes x265 about
# 20 s a picture; decoding copies costs the same). Prints medians with their spread and ratios,
# and the processor time (user + system), which a machine shared with other work disturbs less.
# Usage: bench/compareheic.sh [build folder] [runs]
# Needs hyperfine, heif-enc and heif-convert (libheif-examples), vipsthumbnail, ImageMagick and
# taskset (tools/setup.sh).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-heicbench}"
count=40
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home"
cli="$build/bin/glimix-cli"
mkdir -p "$work/home" "$work/out" "$work/thumb" "$work/plain"

if [ ! -f "$work/plain.heic" ]; then
  convert -size 1008x756 plasma:fractal -seed 7 -resize '4032x3024!' -quality 95 "$work/base.jpg"
  heif-enc -q 70 --thumb 320 "$work/base.jpg" -o "$work/thumb.heic" >/dev/null
  heif-enc -q 70 --no-thumb "$work/base.jpg" -o "$work/plain.heic" >/dev/null
fi
for i in $(seq -w 1 $count); do
  cp "$work/thumb.heic" "$work/thumb/IMG_00$i.HEIC"
  cp "$work/plain.heic" "$work/plain/IMG_00$i.HEIC"
done

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
    cpu = r["user"] + r["system"]  # hyperfine gives their means
    print(f'{r["command"]:<28} median {med*1000:7.0f} ms (IQR {q[0]*1000:.0f}-{q[2]*1000:.0f}),'
          f' {photos/med:6.1f} photos/s, {med/base:5.2f}x the first row;'
          f' processor time {cpu*1000:.0f} ms (mean)')
PY
}

thumbs=("$work"/thumb/*.HEIC)
hyperfine -N -w 1 -r "$runs" --export-json "$work/thumb.json" --prepare "sh -c '$fresh'" \
  -n 'glimmerix, 1 core' "taskset -c 0 $cli album add $album $work/thumb" \
  -n 'vipsthumbnail, 1 core' "taskset -c 0 vipsthumbnail --size 80 -o $work/out/%s.jpg ${thumbs[*]}" \
  >/dev/null
echo "40 HEIC photos of 4032 x 3024 with a 320 x 240 embedded thumbnail:"
summary "$work/thumb.json" $count

convert_each="for f in $work/plain/*.HEIC; do heif-convert -q 90 \$f $work/out/x.jpg >/dev/null; done"
hyperfine -N -w 1 -r "$runs" --export-json "$work/plain.json" --prepare "sh -c '$fresh'" \
  -n 'glimmerix, 1 core' "taskset -c 0 $cli album add $album $work/plain" \
  -n 'heif-convert, 1 core' "taskset -c 0 sh -c '$convert_each'" \
  >/dev/null
echo "40 HEIC photos of 4032 x 3024 without an embedded thumbnail:"
summary "$work/plain.json" $count
