#!/usr/bin/env bash
# One command to test Glimmerix: installs what is needed, builds everything with warnings as
# errors, and runs every test (unit, widget, two-process, fuzz replays) through ctest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMERIX_BUILD_DIR:-$root/build}"
"$root/tools/setup.sh"
GLIMMERIX_WERROR=ON "$root/tools/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300 "$@"
# On CI (a throw-away machine) the Debian package is also built, linted with lintian, installed
# with apt, run and removed.
if [ "${CI:-}" = "true" ]; then
  "$root/tools/checkpackage.sh"
fi
