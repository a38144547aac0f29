#!/usr/bin/env bash
# Makes video-capture.png (the capture dialog on the test pattern) and scan-dialog.png (the scan
# dialog after a preview scan from SANE's `test` backend) through the dialog tests, drawn
# offscreen. Usage: docs/screenshots/capture-and-scan.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
export QT_QPA_PLATFORM=offscreen GLIMMERIX_SCREENSHOTS="$here"
"$build/tests/tests_media" \
  --gtest_filter='VideoCaptureDialog.DriverListConnectsTheIndexOfTheChosenEntry:SaneTestBackend.ScanDialog*'
