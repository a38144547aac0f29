#!/usr/bin/env bash
# Makes a themed web album (theme 2, two pages, a caption with markup characters) with the
# command-line tool and photographs its first page in headless Chromium:
#   docs/screenshots/webalbum.sh [build folder]   ->  docs/screenshots/webalbum-theme2.png
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
. "$here/private-session.sh" "$build/bin"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work/photos"
ffmpeg -loglevel error -f lavfi -i "testsrc2=size=1600x1200:rate=1" -frames:v 8 -q:v 3 \
  "$work/photos/photo%02d.jpg"
cli="$build/bin/glimix-cli"
"$cli" album new "$work/Harbour.gmx" >/dev/null
"$cli" album add "$work/Harbour.gmx" "$work/photos" >/dev/null
"$cli" album set-text "$work/Harbour.gmx" 0 caption '<b>&"ü harbour'
"$cli" webalbum "$work/Harbour.gmx" "$work/site" --theme 2 --rows 2 --columns 3 --field1 \
  --title "Harbour Walk" 2>/dev/null
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=900,560 \
  --screenshot="$here/webalbum-theme2.png" "file://$work/site/album1.html" 2>/dev/null
