#!/usr/bin/env bash
# Prints a 500-item album of 2000 x 1500 JPEG pictures in high quality to PDF through
# `glimix-cli print` (the same page code as File > Print) and reports the time, the peak memory
# against a one-item print of the same kind of picture, and what the PDF holds: pages, size and
# its embedded pictures (how many, how they are compressed).
# Usage: bench/printsheets.sh [build folder] [items]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
items="${2:-500}"
work="${GLIMMERIX_BENCH_WORK:-/tmp/glimmerix-printbench}"
rm -rf "$work" && mkdir -p "$work/home" "$work/pictures" "$work/run"
chmod 700 "$work/run"
export QT_QPA_PLATFORM=offscreen GLIMMERIX_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/run"
cli="$build/bin/glimix-cli"

# Every picture differs (a moving test pattern), so none can be shared in the PDF.
ffmpeg -loglevel error -f lavfi -i "testsrc2=size=2000x1500:rate=25" -frames:v "$items" \
  -q:v 3 "$work/pictures/picture-%04d.jpg"
"$cli" album new One >/dev/null
"$cli" album add One "$work/pictures/picture-0001.jpg" >/dev/null
"$cli" album new Many >/dev/null
find "$work/pictures" -name '*.jpg' | sort | xargs "$cli" album add Many >/dev/null

# Prints "wall-seconds cpu-seconds peak-kB" of one glimix-cli run.
run() {
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$cli" "$@" >/dev/null
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}
print() { run print "$1" "$2" --quality 1 --page a4 --title "Print benchmark" --page-numbers; }
read -r one_s one_cpu one_kb < <(print One "$work/one.pdf")
read -r _ _ list_kb < <(run album list Many)
read -r many_s many_cpu many_kb < <(print Many "$work/many.pdf")
echo "one item:         ${one_s} s (CPU ${one_cpu} s), peak ${one_kb} kB"
echo "$items-item album listed: peak ${list_kb} kB (the album and its thumbnails in memory)"
echo "$items items:        ${many_s} s (CPU ${many_cpu} s), peak ${many_kb} kB:" \
  "+$(( (many_kb - list_kb) / 1024 )) MB over listing the album," \
  "+$(( (many_kb - one_kb) / 1024 )) MB over printing one item"
pdfinfo "$work/many.pdf" | grep -E '^(Pages|Page size|File size):'
# pdfimages -list: one row per picture drawn; "object ID" tells whether rows share one object.
pdfimages -list "$work/many.pdf" | awk 'NR > 2 {
    drawn++; objects[$11] = 1; encoding[$9]++
  } END {
    n = 0; for (o in objects) n++
    printf "pictures drawn: %d, picture objects in the file: %d, encodings:", drawn, n
    for (e in encoding) printf " %s x%d", e, encoding[e]
    printf "\n"
  }'
