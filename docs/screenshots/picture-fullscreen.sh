#!/usr/bin/env bash
# Makes picture-fullscreen.png: `glimix --view PICTURE` on a private X display, the picture window
# turned full screen with F11 (the toolbar and status bar give the whole screen to the picture),
# then Escape back to the window and Ctrl+W, Ctrl+Q to end. Full screen is the window manager's
# to grant, so a small one (openbox) runs on the display. Every wait is bounded.
# Usage: docs/screenshots/picture-fullscreen.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
convert -size 1600x1000 gradient:'rgb(30,60,120)-rgb(240,170,80)' -fill 'rgb(250,230,120)' \
  -draw "circle 800,560 800,420" -fill 'rgb(20,40,30)' -draw "rectangle 0,800 1600,1000" \
  "$work/dusk.jpg"
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  openbox >/dev/null 2>&1 & wm=$!
  "$0/glimix" --view "$1/dusk.jpg" & pid=$!
  trap "kill $pid $wm 2>/dev/null" EXIT
  wait_for() { for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 | grep . && return; sleep 0.1; done; echo "no window $1" >&2; exit 1; }
  picture=$(wait_for "dusk.jpg\$")
  sleep 1
  xdotool key --window "$picture" F11
  sleep 1.5 # full screen, refitted and drawn
  import -window root "$1/full.png"
  xdotool key --window "$picture" Escape
  sleep 0.5
  xdotool key --window "$picture" ctrl+w 2>/dev/null || true
  compact=$(wait_for "^Glimmerix - dusk.jpg")
  xdotool key --window "$compact" ctrl+q
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.1; done
  echo "the program did not end" >&2; exit 1' "$bin" "$work"
convert "$work/full.png" -colors 256 "PNG8:$here/picture-fullscreen.png"
