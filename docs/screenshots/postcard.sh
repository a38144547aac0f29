#!/usr/bin/env bash
# Makes a video postcard with the command-line tool, plays it with its own player under Xvfb and
# opens its postcard.html in headless Chromium:
#   docs/screenshots/postcard.sh [build folder]
#     ->  docs/screenshots/postcard-player.png, docs/screenshots/postcard-html.png
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
. "$here/private-session.sh" "$build/bin"
# A clip both the player and browsers play: H.264 in a QuickTime file.
ffmpeg -loglevel error -f lavfi -i "testsrc2=size=320x240:rate=25:duration=6" \
  -c:v libx264 -pix_fmt yuv420p "$work/Harbour.mov"
QT_QPA_PLATFORM=offscreen "$build/bin/glimix-cli" postcard "$work/Harbour.mov" "$work/card" \
  --frame Seasons:0 --large \
  --text "Greetings from the harbour! The boats came in at dawn and we filmed them for you." \
  --text "Anna Example" --text "12 Harbour Road" >/dev/null
timeout 60 xvfb-run -a -s "-screen 0 1400x600x24" \
  "$work/card/VideoPostcard.exe" --snapshot "$here/postcard-player.png" 2>/dev/null
timeout 60 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
  --autoplay-policy=no-user-gesture-required --virtual-time-budget=3000 --window-size=1400,580 \
  --screenshot="$here/postcard-html.png" "file://$work/card/postcard.html" 2>/dev/null
