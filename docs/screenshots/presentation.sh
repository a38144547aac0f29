#!/usr/bin/env bash
# Makes presentation.png: `glimix --present` on the sample album, on a private X display, once the
# first picture is on the screen with its caption. Every wait is bounded.
# Usage: docs/screenshots/presentation.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
album="$("$here/make_sample_album.sh" "$GLIMMERIX_HOME" "$bin" 2>/dev/null | tail -1)"
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/glimix" --present "$1" & pid=$!
  trap "kill $pid 2>/dev/null" EXIT
  for _ in $(seq 100); do
    xdotool search --name "^Slide Show\$" >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool search --name "^Slide Show\$" >/dev/null 2>&1 || { echo "no Slide Show window" >&2; exit 1; }
  sleep 2 # the first transition (at most a few hundred milliseconds) has ended
  import -window root "$2/screen.png"' "$bin" "$album" "$work"
convert "$work/screen.png" -colors 256 "PNG8:$here/presentation.png"
