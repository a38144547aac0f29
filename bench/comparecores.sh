#!/usr/bin/env bash
# How well the album import of each kind of file uses two cores: glimix-cli album add of 40
# files (a whole process: start, 40 thumbnails, save) on one core (`taskset -c 0`, so the import
# starts one worker) and on two (one worker per core), in one hyperfine run per kind. For each it
# prints the wall time, the processor time per file (user + system over 40), the speed-up of two
# cores over one and the share of the two-core run's wall time both cores were busy (processor
# time / (2 x wall)). Kinds: 12-megapixel JPEG; 4032 x 3024 HEIC with a 320 x 240 embedded
# thumbnail (as phones write them); 1600 x 1200 HEIC without one (full decode); 4000 x 3000 DNG
# with its JPEG preview (tools/generators/makedng.py); 1920 x 1080 H.264 MP4 of 2 s; 2000 x 1500
# PNG. Files of a kind are copies of one, so every file costs the same. Then the same files in
# process (bench_importcores, one worker and two): processor time per file, the share of it on
# the thread that inserts the items in order, the share of the wall time both cores were busy
# and the speed-up two cores could give at most from those processor times.
# Usage: bench/comparecores.sh [build folder] [runs]
# Needs hyperfine, taskset, ImageMagick, heif-enc, ffmpeg and python3-tifffile (tools/setup.sh).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-3}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-corebench}"
count=40
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home"
cli="$build/bin/glimix-cli"
mkdir -p "$work/home" "$work/base"
b="$work/base"
if [ ! -f "$b/done" ]; then
  convert -size 1000x750 plasma:fractal -seed 7 -resize '4000x3000!' -quality 92 "$b/photo.jpg"
  convert "$b/photo.jpg" -resize '4032x3024!' -quality 95 "$b/phone.jpg"
  heif-enc -q 70 --thumb 320 "$b/phone.jpg" -o "$b/thumb.heic" >/dev/null
  convert "$b/photo.jpg" -resize '1600x1200!' "$b/small.jpg"
  heif-enc -q 70 --no-thumb "$b/small.jpg" -o "$b/plain.heic" >/dev/null
  /usr/bin/python3 "$root/tools/generators/makedng.py" "$b/raw.dng" --size 4000x3000 \
    --preview jpeg
  ffmpeg -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=30:duration=2 -c:v libx264 \
    -pix_fmt yuv420p "$b/clip.mp4"
  convert "$b/photo.jpg" -resize '2000x1500!' "$b/shot.png"
  touch "$b/done"
fi

summary() { # kind json
  python3 - "$1" "$2" "$count" <<'PY'
import json, statistics, sys
kind, results, files = sys.argv[1], json.load(open(sys.argv[2]))["results"], int(sys.argv[3])
one, two = results
w1, w2 = statistics.median(one["times"]), statistics.median(two["times"])
c1, c2 = one["user"] + one["system"], two["user"] + two["system"]
print(f'| {kind} | {w1*1000:.0f} ms | {w2*1000:.0f} ms | **{w1/w2:.2f}x** | '
      f'{c1/files*1000:.1f} ms | {c2/files*1000:.1f} ms | {c2/(2*w2)*100:.0f} % |')
PY
}

echo "| 40 files | 1 core, wall | 2 cores, wall | speed-up | processor time per file, 1 core |" \
  "2 cores | both cores busy (2 cores) |"
echo "|---|---|---|---|---|---|---|"
for kind in photo.jpg thumb.heic plain.heic raw.dng clip.mp4 shot.png; do
  folder="$work/${kind%%.*}"
  mkdir -p "$folder"
  for i in $(seq -w 1 $count); do
    [ -f "$folder/f$i.${kind##*.}" ] || cp "$b/$kind" "$folder/f$i.${kind##*.}"
  done
  files=("$folder"/f*."${kind##*.}")
  album="$work/bench.gal"
  fresh="rm -f $album; $cli album new $album"
  hyperfine -N -w 1 -r "$runs" --export-json "$work/$kind.json" --prepare "sh -c '$fresh'" \
    -n '1 core' "taskset -c 0 $cli album add $album ${files[*]}" \
    -n '2 cores' "$cli album add $album ${files[*]}" >/dev/null
  summary "$kind" "$work/$kind.json"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "| 40 files, in process | workers | wall per run | processor time per file | inserting thread's share | both cores busy | two-core bound |"
echo "|---|---|---|---|---|---|---|"
for kind in photo.jpg thumb.heic plain.heic raw.dng clip.mp4 shot.png; do
  GLIMMERIX_BENCH_FILES="$work/${kind%%.*}" "$build/bench/bench_importcores" \
    --benchmark_format=json --benchmark_out="$work/$kind.inproc.json" >/dev/null 2>&1
  python3 - "$kind" "$work/$kind.inproc.json" <<'PY'
import json, sys
for b in json.load(open(sys.argv[2]))["benchmarks"]:
    workers = b["name"].split("/")[1]
    print(f'| {sys.argv[1]} | {workers} | {b["real_time"]:.0f} ms | {b["cpu_ms_per_file"]:.1f} ms |'
          f' {b["inserting_share"]*100:.0f} % | {b["both_busy_share"]*100:.0f} % |'
          f' {b["two_core_bound"]:.2f}x |')
PY
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
