#!/usr/bin/env bash
# Times the album import against vipsthumbnail and ImageMagick on the same 12-megapixel photos.
# Usage: bench/compareimport.sh [build folder]   (needs vipsthumbnail and convert on PATH)
set -euo pipefail
build="${1:-build}"
photos="${GLIMMERIX_BENCH_PHOTOS:-/tmp/glimmerix-bench-photos}"
export GLIMMERIX_BENCH_PHOTOS="$photos" QT_QPA_PLATFORM=offscreen
"$build/bench/bench_albumimport"
out="$(mktemp -d)"
count=$(ls "$photos"/*.jpg | wc -l)
rate() { python3 -c "import sys; print(f'{$count*$2/$1:.1f} photos/s')" "$@"; }
for tool in vipsthumbnail convert; do
  start=$(date +%s.%N)
  for round in 1 2 3; do
    for f in "$photos"/*.jpg; do
      if [ "$tool" = vipsthumbnail ]; then
        vipsthumbnail "$f" --size 80x80 -o "$out/%s.jpg"
      else
        convert "$f" -thumbnail 80x80 "$out/$(basename "$f")"
      fi
    done
  done
  end=$(date +%s.%N)
  echo "$tool: $(rate "$(echo "$end - $start" | bc)" 3)"
done
rm -rf "$out"
