#!/usr/bin/env bash
# Writes the seed corpora of the readers of today's picture types (heifreader, webpreader,
# pngreader, gifreader, jxlreader): small pictures made by the outside encoders from one
# ImageMagick drawing. The files are committed, so the replay tests need none of these tools;
# run again (tools/setup.sh installs them) to remake them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
src="$work/src.png"
convert -size 40x30 gradient:red-blue -fill yellow -draw "circle 10,10 10,4" "PNG24:$src"
convert -size 40x30 -depth 16 gradient:green-white "PNG48:$work/src16.png"
convert "$src" \( -size 40x30 gradient:white-black \) -alpha off -compose CopyOpacity \
  -composite "PNG32:$work/alpha.png"
mkdir -p "$here"/{heifreader,webpreader,pngreader,gifreader,jxlreader}

heif-enc -q 50 "$src" -o "$here/heifreader/plain.heic" >/dev/null
heif-enc -q 50 -b 10 "$work/src16.png" -o "$here/heifreader/deep.heic" >/dev/null
# A thumbnail large enough (160 pixels) to stand in for the picture.
convert -size 200x150 gradient:red-blue "PNG24:$work/large.png"
heif-enc -q 30 --thumb 160 "$work/large.png" -o "$here/heifreader/thumbnail.heic" >/dev/null
heif-enc -q 50 "$work/alpha.png" -o "$here/heifreader/alpha.heic" >/dev/null
heif-enc -A -p chroma=420 -q 50 "$src" -o "$here/heifreader/plain.avif" >/dev/null

cwebp -quiet -q 50 "$src" -o "$here/webpreader/lossy.webp"
cwebp -quiet -lossless "$work/alpha.png" -o "$here/webpreader/lossless-alpha.webp"
convert -delay 10 "$src" -flip "$src" "$here/webpreader/animated.webp"

cp "$src" "$here/pngreader/rgb8.png"
cp "$work/src16.png" "$here/pngreader/rgb16.png"
cp "$work/alpha.png" "$here/pngreader/alpha.png"
convert "$src" -colors 16 "PNG8:$here/pngreader/palette.png"
convert "$src" -colorspace Gray "$here/pngreader/grey.png"
convert "$src" -interlace PNG "PNG24:$here/pngreader/interlaced.png"

convert "$src" -colors 32 "$here/gifreader/still.gif"
convert -delay 10 "$src" -flip "$src" "$here/gifreader/animated.gif"
convert "$work/alpha.png" -colors 32 "$here/gifreader/transparent.gif"

cjxl --quiet "$src" "$here/jxlreader/lossy.jxl"
cjxl --quiet -d 0 "$work/alpha.png" "$here/jxlreader/lossless-alpha.jxl"
ls -l "$here"/{heifreader,webpreader,pngreader,gifreader,jxlreader}
