#!/usr/bin/env bash
# Configures and builds Glimmerix in ./build (or $GLIMMERIX_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMERIX_BUILD_DIR:-$root/build}"
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S "$root" -B "$build" -G Ninja -DGLIMMERIX_WERROR="${GLIMMERIX_WERROR:-$werror}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
