#!/usr/bin/env bash
# Records 10 s of the test pattern at 640x480 and 30 fps through glimix-cli and prints the frames
# expected and written (a frame time without a frame counts as dropped), then checks the clip
# with ffprobe. Usage: bench/capturespeed.sh [build folder] [seconds]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-10}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-capturebench}"
mkdir -p "$work/home"
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home"
clip="$work/pattern.avi"
"$build/bin/glimix-cli" capture clip "$clip" --seconds "$seconds" --device 10 --fps 30 \
  --size 640x480 --audio
ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=width,height,r_frame_rate,nb_read_frames -of default=noprint_wrappers=1 \
  "$clip"
