#!/usr/bin/env bash
# One command to use Glimmerix: installs what is needed, builds, and starts the program.
# Arguments are passed to glimix (an album to open, files to add).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/setup.sh"
"$root/tools/build.sh"
exec "${GLIMMERIX_BUILD_DIR:-$root/build}/bin/glimix" "$@"
