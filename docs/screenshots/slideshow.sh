#!/usr/bin/env bash
# Makes a slide show package (three pictures with notes) with the command-line tool, then
# photographs the player full screen under Xvfb and slideshow.html in headless Chromium:
#   docs/screenshots/slideshow.sh [build folder]
#     ->  docs/screenshots/slideshow-player.png, docs/screenshots/slideshow-html.png
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
. "$here/private-session.sh" "$build/bin"
mkdir -p "$work/photos"
ffmpeg -loglevel error -f lavfi -i "testsrc2=size=1600x1000:rate=1" -frames:v 3 -q:v 3 \
  "$work/photos/photo%02d.jpg"
cli="$build/bin/glimix-cli"
QT_QPA_PLATFORM=offscreen "$cli" album new "$work/Harbour.gmx" >/dev/null
QT_QPA_PLATFORM=offscreen "$cli" album add "$work/Harbour.gmx" "$work/photos" >/dev/null
QT_QPA_PLATFORM=offscreen "$cli" album set-text "$work/Harbour.gmx" 0 description \
  'The harbour at eight in the morning'
QT_QPA_PLATFORM=offscreen "$cli" slideshow "$work/Harbour.gmx" "$work/show" >/dev/null
# The player as a recipient starts it: full screen on a 1024 x 768 X screen, photographed with
# `import` once its window is up and the first picture drawn, then ended by its process id.
export SHOW="$work/show" SHOT="$here/slideshow-player.png"
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$SHOW/slideshow.exe" & player=$!
  for _ in $(seq 100); do
    xdotool search --onlyvisible --classname slideshow.exe >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1  # the first picture is decoded and drawn after the window maps
  import -window root "$SHOT"
  kill "$player"'
timeout 90 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
  --window-size=1024,640 --virtual-time-budget=1000 \
  --screenshot="$here/slideshow-html.png" "file://$work/show/slideshow.html" 2>/dev/null
