#!/usr/bin/env bash
# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer: installs what is
# needed, builds into ./build-asan (or $GLIMMERIX_BUILD_DIR) with -DGLIMMERIX_SANITIZE=ON and
# runs every test through ctest. The first finding stops the test that caused it.
# Extra arguments go to ctest, e.g.  tools/test-sanitize.sh -L fuzz
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export GLIMMERIX_BUILD_DIR="${GLIMMERIX_BUILD_DIR:-$root/build-asan}"
"$root/tools/setup.sh"
# -O1 with line tables only: readable reports, and a build and run far quicker than -O2 -g.
GLIMMERIX_WERROR=ON "$root/tools/build.sh" -DGLIMMERIX_SANITIZE=ON -DGLIMMERIX_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1"
# Leak checking is off: Qt and the libraries it loads keep allocations alive until exit on
# purpose, which would drown real findings.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd "$GLIMMERIX_BUILD_DIR"
# Instrumented code runs several times slower, so each test gets more time than in tools/test.sh.
ctest --output-on-failure -j "$(nproc)" --timeout 900 "$@"
