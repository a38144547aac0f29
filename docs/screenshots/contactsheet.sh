#!/usr/bin/env bash
# Makes contact-sheet.png: the first page the print path gives for the sample album (through
# `glimix-cli print` into a PDF, then drawn by pdftoppm).
# Usage: docs/screenshots/contactsheet.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$(cd "${1:-$here/../../build/bin}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export GLIMMERIX_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
album="$("$here/make_sample_album.sh" "$GLIMMERIX_HOME" "$bin" 2>/dev/null | tail -1)"
"$bin/glimix-cli" print "$album" "$work/sheet.pdf" --page a4 --title "Holiday 2026" \
  --footer "Printed by Glimmerix" --page-numbers --border Gold.frm --background Linen.bkg
pdfinfo "$work/sheet.pdf" | grep -E '^(Pages|Page size):'
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/sheet.pdf" "$work/page"
convert "$work/page.png" -colors 192 "PNG8:$here/contact-sheet.png"
