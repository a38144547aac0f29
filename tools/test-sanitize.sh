#!/usr/bin/env bash
# Tests under AddressSanitizer and UndefinedBehaviorSanitizer: installs what is needed, builds
# into ./build-asan (or $GLIMMERIX_BUILD_DIR) with -DGLIMMERIX_SANITIZE=ON and runs the tests
# through ctest. The first finding stops the test that caused it.
#   tools/test-sanitize.sh [CTEST-ARGS]          every test (about an hour on two cores)
#   tools/test-sanitize.sh --logic [CTEST-ARGS]  what CI runs: only the tests of the libraries
#       that read or write outside data (imaging, album, publish, cdout, online, media) and the
#       fuzz replays, without the tests of windows and dialogs; only their programs are built.
# Extra arguments go to ctest, e.g.  tools/test-sanitize.sh -L fuzz
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export GLIMMERIX_BUILD_DIR="${GLIMMERIX_BUILD_DIR:-$root/build-asan}"
logic=false
if [ "${1:-}" = "--logic" ]; then
  logic=true
  shift
fi
"$root/tools/setup.sh"
# -O1 with line tables only: readable reports, and a build and run far quicker than -O2 -g.
options=(-DGLIMMERIX_SANITIZE=ON -DGLIMMERIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DCMAKE_C_FLAGS_DEBUG="-O1 -g1")
selection=()
if $logic; then
  # The test programs, the programs their command-line tests start, and the fuzz replays.
  targets=(tests_imaging tests_album tests_publish tests_cdout tests_online tests_media
    glimix-cli glimix-cli-commands glimix-clip glimmerix_bundle glimmerix_share)
  mapfile -t -O "${#targets[@]}" targets \
    < <(sed -n 's/^glimmerix_add_fuzzer(\([A-Za-z0-9_]*\) .*/fuzz_\1/p' "$root/fuzz/CMakeLists.txt")
  cmake -S "$root" -B "$GLIMMERIX_BUILD_DIR" -G Ninja -DGLIMMERIX_WERROR=ON "${options[@]}" >/dev/null
  cmake --build "$GLIMMERIX_BUILD_DIR" -j "$(nproc)" --target "${targets[@]}"
  # Windows and dialogs are the widget suites' work; under the sanitizers they are slow and read
  # nothing from outside that the logic tests do not.
  windows='^(WebAlbumWizard|WebAlbumBrowser|PresentationDialog|PresentationWindow|PostcardWizard'
  windows+='|ItemPicker|OnlineDialogs|SoundRecorderDialog|VideoCaptureDialog|ClipPlayerWindow)\.'
  selection=(-L '^(imaging|album|publish|cdout|online|media|fuzz)$' -E "$windows")
else
  GLIMMERIX_WERROR=ON "$root/tools/build.sh" "${options[@]}"
fi
# Leak checking is off: Qt and the libraries it loads keep allocations alive until exit on
# purpose, which would drown real findings.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd "$GLIMMERIX_BUILD_DIR"
# Instrumented code runs several times slower, so each test gets more time than in tools/test.sh.
ctest --output-on-failure -j "$(nproc)" --timeout 900 "${selection[@]}" "$@"
