#!/usr/bin/env bash
# Makes transitions.png: every presentation effect half-way from one picture to another, drawn by
# `glimix-cli transition`, laid out as a contact sheet with ImageMagick.
# Usage: transitions.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
export QT_QPA_PLATFORM=offscreen
convert -size 320x180 gradient:'#1e3c78'-'#9ec8f0' "$work/old.bmp"
convert -size 320x180 plasma:'#f0a030'-'#802010' -seed 7 "$work/new.bmp"
tiles=()
for effect in $(seq 1 82); do
  out="$("$bin/glimix-cli" transition "$effect" "$work/old.bmp" "$work/new.bmp" \
    --frames "$work/$effect" --size 160x90)"
  name="${out%%:*}"
  steps="${out##*: }"; steps="${steps%% *}"
  half=$(( (steps + 1) / 2 ))
  tile="$(printf '%s/%s/step-%02d.bmp' "$work" "$effect" "$half")"
  convert "$tile" -background white -fill black -font DejaVu-Sans -pointsize 10 \
    label:"$effect $name" -gravity center -append "$work/tile-$effect.png"
  tiles+=("$work/tile-$effect.png")
done
montage "${tiles[@]}" -tile 9x -geometry +3+3 -background white -colors 128 "PNG8:$here/transitions.png"
