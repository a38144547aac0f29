#!/usr/bin/env bash
# Makes launcher.png: the main window with three launcher buttons (three desktop entries of the
# system), on a private X display. Usage: docs/screenshots/launcher.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.config" "$home/runtime" && chmod 700 "$home/runtime"
apps=(/usr/share/applications/vim.desktop /usr/share/applications/display-im6.q16.desktop
      /usr/share/applications/python3.11.desktop)
labels=(Vim "Image Viewer" Python)
{
  for i in 0 1 2; do
    printf '[SOFTWARE\\Orvanta\\Glimmerix\\2.0\\App%d]\n"AppPathName"=sz:"%s"\n"AppLabel"=sz:"%s"\n\n' \
      $((i + 1)) "${apps[$i]}" "${labels[$i]}"
  done
} > "$home/.config/user.reg"
export GLIMMERIX_HOME="$home" XDG_RUNTIME_DIR="$home/runtime"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/bin/glimix" & pid=$!
  sleep 4
  import -window root "$1/launcher.png"
  kill $pid' "$build" "$here"
