#!/usr/bin/env bash
# Times a 300 dpi A4 colour scan from SANE's `test` backend into an album (glimix-cli scan into:
# scan, bitmap, JPEG file, thumbnail, album save) against scanimage writing the same scan to a
# file, in one hyperfine run. Usage: bench/comparescan.sh [build folder] [runs]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-scanbench}"
rm -rf "$work" && mkdir -p "$work/home" "$work/sane"
echo test >"$work/sane/dll.conf"
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home" SANE_CONFIG_DIR="$work/sane"
cli="$build/bin/glimix-cli"
album="$work/bench.gmx"
"$cli" album new "$album" >/dev/null
# The test backend's bed is 200 x 200 mm; A4's width with the bed's full height.
area=(-x 210 -y 200)
hyperfine --runs "$runs" --warmup 1 \
  -n scanimage "scanimage -d test:0 --mode Color --resolution 300 ${area[*]} --format=pnm -o $work/scan.pnm" \
  -n glimix "$cli scan into $album --device test:0 --mode color --resolution 300 --area 0,0,210,200"
