#!/usr/bin/env bash
# Makes an album of six varied pictures with the command-line tool and draws the file manager's
# thumbnail of it with the album thumbnailer:
#   docs/screenshots/thumbnailer.sh [build folder]   ->  docs/screenshots/album-thumbnail.png
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
. "$here/private-session.sh" "$build/bin"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$work/photos"
i=0
for source in testsrc2 mandelbrot smptebars rgbtestsrc cellauto life; do
  i=$((i + 1))
  ffmpeg -loglevel error -f lavfi -i "$source=size=640x480:rate=1" -frames:v 1 -q:v 3 \
    "$work/photos/photo$i.jpg"
done
cli="$build/bin/glimix-cli"
"$cli" album new "$work/Sampler.gmx" >/dev/null
"$cli" album add "$work/Sampler.gmx" "$work/photos" >/dev/null
"$build/bin/glimix-thumbnailer" -s 256 "$work/Sampler.gmx" "$here/album-thumbnail.png"
