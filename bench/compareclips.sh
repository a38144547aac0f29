#!/usr/bin/env bash
# Times adding 40 phone-size MP4 clips to an album (glimix-cli album add: start, 40 first frames
# turned upright, thumbnails, save) against `ffmpeg -frames:v 1` run once per clip, on one core,
# in the same hyperfine run. The clips (1920 x 1080 H.264 at 30 fps, 2 s, with a display rotation
# of 90 degrees as a phone held upright writes it) are made once with ffmpeg.
# Usage: bench/compareclips.sh [build folder] [runs]   Needs hyperfine, taskset and ffmpeg.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-clipbench}"
count=40
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home"
cli="$build/bin/glimix-cli"
mkdir -p "$work/home" "$work/clips" "$work/out"
if [ ! -f "$work/clips/base.mp4" ]; then
  ffmpeg -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=30:duration=2 -c:v libx264 \
    -pix_fmt yuv420p "$work/clips/stored.mp4"
  ffmpeg -v error -y -i "$work/clips/stored.mp4" -c copy -metadata:s:v rotate=90 \
    "$work/clips/base.mp4"
fi
for i in $(seq 0 $((count - 1))); do
  [ -f "$work/clips/clip$i.mp4" ] || cp "$work/clips/base.mp4" "$work/clips/clip$i.mp4"
done
files=("$work"/clips/clip*.mp4)
album="$work/bench.gal"
hyperfine -N -w 1 -r "$runs" --export-json "$work/clips.json" \
  --prepare "sh -c 'rm -f $album $work/out/*; $cli album new $album'" \
  -n 'glimmerix album add, 1 core' "taskset -c 0 $cli album add $album ${files[*]}" \
  -n 'ffmpeg -frames:v 1 per clip, 1 core' \
  "taskset -c 0 sh -c 'for f in ${files[*]}; do ffmpeg -v error -y -i \$f -frames:v 1 $work/out/frame.png; done'" \
  >/dev/null
python3 "$(dirname "$0")/hyperfinesummary.py" "$work/clips.json" $count clips
