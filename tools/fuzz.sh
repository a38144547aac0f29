#!/usr/bin/env bash
# Builds the fuzz targets as libFuzzer programs with clang, AddressSanitizer and UBSan in
# ./build-fuzz, then runs one target for a while:  tools/fuzz.sh TARGET [SECONDS]
# Targets are the names in fuzz/CMakeLists.txt (e.g. stringtable, settingsfile, bmp, album).
# tools/fuzz.sh --build-only builds every target of fuzz/CMakeLists.txt and runs none (CI).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
target="${1:?usage: tools/fuzz.sh TARGET [SECONDS] | --build-only}"
seconds="${2:-60}"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DGLIMMERIX_FUZZ=ON \
  -DGLIMMERIX_TESTS=ON -DGLIMMERIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
if [ "$target" = "--build-only" ]; then
  mapfile -t all < <(sed -n 's/^glimmerix_add_fuzzer(\([A-Za-z0-9_]*\) .*/fuzz_\1/p' "$root/fuzz/CMakeLists.txt")
  cmake --build "$build" --target "${all[@]}" -j "$(nproc)"
  exit
fi
cmake --build "$build" --target "fuzz_$target" -j "$(nproc)"
work="$(mktemp -d)"
cp -r "$root/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$target" -max_total_time="$seconds" "$work"
