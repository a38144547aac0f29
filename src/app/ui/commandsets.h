#pragma once

#include "app/commandtable.h"

class QAction;
class QUndoStack;
class QWidget;

namespace glimmerix
{

class AlbumManager;
class CAlbumDoc;
class CAlbumView;
class LauncherBar;

// The command sets of the subsystems the main window holds. Each set brings its commands, their
// menu places and their enable rules; the album document's own set is AlbumCommands::commandSet.
// The product, search and presentation sets are in publish/ui/publishcommands.h.

// The view's item commands: selection, removal, field labels, the current item's picture,
// properties, files, thumbnail and attached sound.
CommandSet viewCommandSet(CAlbumView &view, CAlbumDoc &document);
// Rename, copy, delete, copy the files of, and show the properties of the album.
CommandSet albumManagementCommandSet(AlbumManager &manager);
// The external-program set-up of the launcher bar.
CommandSet launcherCommandSet(LauncherBar &launcher);
// The online photo service's Download and Upload, over the application's service settings.
CommandSet onlineServiceCommandSet(CAlbumDoc &document, QWidget *frame);
// The help pages.
CommandSet helpCommandSet();
// Undo and Redo of the album's undo stack, first in the Edit menu.
CommandSet undoCommandSet(CAlbumDoc &document);
// Keeps the Undo and Redo entries' texts ("Undo Remove 50 Items") and states with `stack`, and
// gives Redo both of its shortcuts (Ctrl+Shift+Z and Ctrl+Y).
void bindUndoActions(QAction *undo, QAction *redo, QUndoStack &stack);

} // namespace glimmerix
