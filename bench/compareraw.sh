#!/usr/bin/env bash
# Times thumbnails of 40 camera RAW files (what the import does for each, bench_rawimport)
# against a full decode of the same files by LibRaw's own dcraw_emu (camera white balance, as
# the picture window's full decode), on one core, in the same hyperfine run. The files are DNGs
# of 4000 x 3000 made by tools/generators/makedng.py: 40 with the camera's JPEG preview (a
# quarter of each side) and, for the case without one, 40 with none; plus any real RAW sample
# named in $GLIMMERIX_RAW_SAMPLES. Usage: bench/compareraw.sh [build folder] [runs]
# Needs hyperfine, taskset, dcraw_emu (libraw-bin), python3-tifffile and cjpeg (tools/setup.sh).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-3}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-rawbench}"
count=40
mkdir -p "$work/preview" "$work/none"
# Four distinct files per kind, each linked ten times: the same bytes for both tools, without
# 2 GB of disk.
for kind in preview none; do
  mode=jpeg; [ "$kind" = none ] && mode=none
  for i in 0 1 2 3; do
    [ -f "$work/$kind/base$i.dng" ] || /usr/bin/python3 "$root/tools/generators/makedng.py" \
      "$work/$kind/base$i.dng" --size 4000x3000 --preview "$mode" --orientation $((i % 2 ? 6 : 1))
  done
  for i in $(seq 0 $((count - 1))); do
    ln -sf "base$((i % 4)).dng" "$work/$kind/raw$i.dng"
  done
done

summary() { # json files-per-run
  python3 "$root/bench/hyperfinesummary.py" "$1" "$2" files
}

for kind in preview none; do
  files=("$work/$kind"/raw*.dng)
  # dcraw_emu writes a picture beside each file; -Z - sends it to standard output instead.
  hyperfine -N -w 1 -r "$runs" --export-json "$work/$kind.json" \
    -n "glimmerix thumbnails, 1 core" "taskset -c 0 $build/bench/bench_rawimport ${files[*]}" \
    -n "dcraw_emu -w full decode, 1 core" \
    "taskset -c 0 sh -c 'for f in ${files[*]}; do dcraw_emu -w -Z - \$f >/dev/null; done'" \
    >/dev/null
  echo "$count DNGs of 4000 x 3000, $kind:"
  summary "$work/$kind.json" $count
done
if [ -n "${GLIMMERIX_RAW_SAMPLES:-}" ]; then
  "$build/bench/bench_rawimport" $GLIMMERIX_RAW_SAMPLES
fi
