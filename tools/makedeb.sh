#!/usr/bin/env bash
# Builds the Debian package glimmerix_VERSION_ARCH.deb into ./build/package (or the folder
# given) with CPack, from the same install rules as tools/install.sh, and lints it.
#   tools/makedeb.sh [OUTPUT_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMERIX_BUILD_DIR:-$root/build}"
out="${1:-$build/package}"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja >&2
cmake --build "$build" --target glimmerix_installed >&2
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
deb="$(ls -t "$out"/glimmerix_*.deb | head -n 1)"
echo "$deb"
if command -v lintian >/dev/null; then
  # Errors fail the build; warnings are shown.
  lintian --fail-on error "$deb" >&2
fi
