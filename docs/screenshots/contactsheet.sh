#!/usr/bin/env bash
# Makes contact-sheet.png: the first page the print path gives for the sample album (through
# `glimix-cli print` into a PDF, then drawn by pdftoppm).
# Usage: docs/screenshots/contactsheet.sh [BIN_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/private-session.sh"
export QT_QPA_PLATFORM=offscreen
album="$("$here/make_sample_album.sh" "$GLIMMERIX_HOME" "$bin" 2>/dev/null | tail -1)"
"$bin/glimix-cli" print "$album" "$work/sheet.pdf" --page a4 --title "Holiday 2026" \
  --footer "Printed by Glimmerix" --page-numbers --border Gold.frm --background Linen.bkg
pdfinfo "$work/sheet.pdf" | grep -E '^(Pages|Page size):'
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/sheet.pdf" "$work/page"
convert "$work/page.png" -colors 192 "PNG8:$here/contact-sheet.png"
