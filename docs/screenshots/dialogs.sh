#!/usr/bin/env bash
# Makes search-dialog.png, presentation-settings.png, print-options.png, edit-menu-undo.png,
# import-summary.png and relink-list.png through the dialog and menu tests, drawn offscreen.
# Usage: docs/screenshots/dialogs.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../../build}"
export QT_QPA_PLATFORM=offscreen GLIMMERIX_SCREENSHOTS="$here"
"$build/tests/tests_publish" \
  --gtest_filter='SearchDialog.MessagesSwitchAndAppend:PresentationDialog.MusicChoiceAndMessages'
"$build/tests/tests_view" --gtest_filter='PrintOptionsDialog.*'
"$build/tests/tests_app" --gtest_filter='UndoMenu.*'
"$build/tests/tests_album" --gtest_filter='TreeImportDialog.*:RelinkDialog.*'
