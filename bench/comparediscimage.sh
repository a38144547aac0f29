#!/usr/bin/env bash
# Times our disc image writer (bench_discimage) against `xorriso -as mkisofs -r -J -joliet-long`
# on the same product folder, alternating, three rounds each, with peak memory (GNU time). Ours
# syncs the image to disk before renaming it into place; xorriso leaves it in the page cache, so
# xorriso is timed both alone and followed by `sync` of its image (the same work).
# Usage: bench/comparediscimage.sh [build folder] [megabytes, default 500]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
megabytes="${2:-500}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
product="$work/product"
mkdir -p "$product/site"
# A web album's shape: 3 MB pictures, 20 KB thumbnails, small pages; incompressible content.
count=$((megabytes / 3))
for i in $(seq 1 "$count"); do
  head -c 3000000 /dev/urandom >"$product/site/photo$i.jpg"
  head -c 20000 /dev/urandom >"$product/site/sm_photo$i.jpg"
  [ $((i % 12)) -eq 0 ] && head -c 4000 /dev/urandom >"$product/site/album$((i / 12)).html"
done
printf '[autorun]\r\nopen=WebAlbum.exe\r\n' >"$product/AutoRun.inf"
echo "product: $(du -sm "$product" | cut -f1) MB in $(find "$product" -type f | wc -l) files"

measure() { # name command...: prints wall and CPU seconds and peak memory
  local name="$1"
  shift
  sync
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
    cat "$work/err"
    exit 1
  }
  read -r seconds user system kilobytes <"$work/time"
  echo "$name wall $seconds s, CPU $(awk "BEGIN { print $user + $system }") s, peak $((kilobytes / 1024)) MB"
  rm -f "$work/out.iso"
}

for round in 1 2 3; do
  measure "round $round glimmerix" "$build/bench/bench_discimage" "$product" "$work/out.iso"
  measure "round $round xorriso  " xorriso -as mkisofs -quiet -r -J -joliet-long \
    -o "$work/out.iso" "$product"
  measure "round $round xorriso+sync" sh -c 'xorriso -as mkisofs -quiet -r -J -joliet-long \
    -o "$0" "$1" && sync "$0"' "$work/out.iso" "$product"
done
