#!/usr/bin/env bash
# Makes single-file-picture.png and single-file-compact.png: `glimix --view PICTURE` on a private X
# display, first with the picture window in front, then with the compact window that comes
# forward once the picture window is closed (Ctrl+W). Ctrl+Q then ends the program. Every wait is
# bounded.
# Usage: docs/screenshots/singlefile.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$(cd "${1:-$here/../../build/bin}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GLIMMERIX_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
convert -size 800x600 xc:'rgb(40,90,160)' -fill 'rgb(240,200,40)' -draw "circle 400,300 400,150" \
  "$work/sun.jpg"
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/glimix" --view "$1/sun.jpg" & pid=$!
  trap "kill $pid 2>/dev/null" EXIT
  wait_for() { for _ in $(seq 100); do xdotool search --name "$1" 2>/dev/null | head -1 | grep . && return; sleep 0.1; done; echo "no window $1" >&2; exit 1; }
  picture=$(wait_for "sun.jpg\$")
  sleep 1 # the picture has been drawn
  import -window root "$1/picture.png"
  xdotool key --window "$picture" ctrl+w 2>/dev/null || true # the window goes while the key is sent
  compact=$(wait_for "^Glimmerix - sun.jpg")
  sleep 1
  import -window root "$1/compact.png"
  xdotool key --window "$compact" ctrl+q
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
  echo "the program did not end" >&2; exit 1' "$bin" "$work"
convert "$work/picture.png" -crop 840x692+0+0 -colors 256 "PNG8:$here/single-file-picture.png"
convert "$work/compact.png" -crop 492x430+0+0 -colors 256 "PNG8:$here/single-file-compact.png"
