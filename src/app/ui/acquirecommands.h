#pragma once

#include "core/commandset.h"

namespace glimmerix
{

class CMainFrame;

// The main window's media acquisition commands: the video capture dialog, choosing the scanner
// and acquiring from it. Acquired pictures and saved clips and stills join the open album.
CommandSet acquireCommandSet(CMainFrame &frame);

// The scanner commands' work, for the tests: choose a source (remembered in the acquire
// settings) and, for acquire, scan into the album with the scan dialog.
void selectScannerSource(CMainFrame &frame);
void acquireFromScanner(CMainFrame &frame);
void runVideoCapture(CMainFrame &frame);

} // namespace glimmerix
