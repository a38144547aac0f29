#!/usr/bin/env bash
# Takes main-window.png: makes the sample album, starts glimix on it under a virtual X display,
# clicks the first item and captures the window.
# Usage: take_screenshot.sh [BIN_DIR] (run inside xvfb-run -a -s "-screen 0 1024x768x24")
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
album="$("$here/make_sample_album.sh" "$GLIMMERIX_HOME" "$bin" 2>/dev/null | tail -1)"
start_window "$album"
sleep 2
# The first cell sits at (8, 9) in the view, below the menu and album bars.
view_top=54
xdotool mousemove --window "$window" 50 $((view_top + 50)) click 1
sleep 1
import -window "$window" "$here/main-window.png"
