#!/usr/bin/env bash
# Builds the fuzz targets as libFuzzer programs with clang, AddressSanitizer and UBSan in
# ./build-fuzz, then runs one target for a while:  tools/fuzz.sh TARGET [SECONDS]
# Targets are the names in fuzz/CMakeLists.txt (e.g. stringtable, settingsfile, bmp, album).
#   tools/fuzz.sh --build-only   builds every target and runs each once over its committed corpus
#                                without fuzzing (for CI).
# FUZZ_JOBS sets the build's parallel jobs (default: the number of processors).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
target="${1:?usage: tools/fuzz.sh TARGET [SECONDS] | tools/fuzz.sh --build-only}"
seconds="${2:-60}"
jobs="${FUZZ_JOBS:-$(nproc)}"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DGLIMMERIX_FUZZ=ON \
  -DGLIMMERIX_TESTS=ON -DGLIMMERIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null

if [ "$target" = "--build-only" ]; then
  names="$(sed -n 's/^glimmerix_add_fuzzer(\([a-z0-9_]*\) .*/\1/p' "$root/fuzz/CMakeLists.txt")"
  targets=()
  for name in $names; do targets+=("fuzz_$name"); done
  cmake --build "$build" --target "${targets[@]}" -j "$jobs"
  # Each target once over its corpus: a target that cannot start or fails on a committed input
  # fails the build check.
  for name in $names; do
    inputs=()
    [ -d "$root/fuzz/corpus/$name" ] && inputs+=("$root/fuzz/corpus/$name")
    if [ ${#inputs[@]} -eq 0 ]; then
      echo "fuzz_$name: no corpus, built only"
      continue
    fi
    QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$name" -runs=0 "${inputs[@]}" >/dev/null 2>&1 \
      || { echo "fuzz_$name: fails on its corpus (run it by hand to see why)" >&2; exit 1; }
    echo "fuzz_$name: built, corpus replayed"
  done
  exit 0
fi

cmake --build "$build" --target "fuzz_$target" -j "$jobs"
work="$(mktemp -d)"
cp -r "$root/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$target" -max_total_time="$seconds" "$work"
