#!/usr/bin/env bash
# The tests of the code that runs work on several threads (ordered work, imports, web album
# pages) under ThreadSanitizer: installs what is needed, builds those test programs into
# ./build-tsan (or $GLIMMERIX_BUILD_DIR) with -DGLIMMERIX_SANITIZE_THREAD=ON and runs them.
# Any data race fails the test that ran into it. Extra arguments go to ctest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMERIX_BUILD_DIR:-$root/build-tsan}"
"$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DGLIMMERIX_WERROR=ON -DGLIMMERIX_SANITIZE_THREAD=ON \
  -DGLIMMERIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DCMAKE_C_FLAGS_DEBUG="-O1 -g1" >/dev/null
cmake --build "$build" --target tests_core tests_album tests_publish glimix-cli
# Qt and the C library are not instrumented; tools/tsan.supp trusts their own locking.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tools/tsan.supp"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 900 -R "Ordered|Import|WebAlbum" "$@"
