#include "commandsets.h"

#include "album/albumdoc.h"
#include "album/albumundo.h"
#include "album/importer.h"
#include "album/ui/albummanager.h"
#include "app/helptopics.h"
#include "core/appsettings.h"
#include "core/commandids.h"
#include "launcherbar.h"
#include "online/ui/onlinecommands.h"
#include "view/ui/albumprinter.h"
#include "view/ui/albumview.h"

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QUndoStack>

namespace glimmerix
{

CommandSet viewCommandSet(CAlbumView &view, CAlbumDoc &document)
{
    QStyle *style = QApplication::style();
    const auto always = std::function<bool()>();
    const auto current = [&view] { return view.hasCurrentItem(); };
    const auto selection = [&view] { return view.hasSelection(); };
    const auto attachment = [&view] { return view.currentHasAttachment(); };
    auto *printer = new AlbumPrinter(document, &view);
    CommandSet set;
    set.name = QStringLiteral("view");
    set.menus = { standardMenu(kEditMenu), standardMenu(kAlbumMenu), standardMenu(kItemMenu) };
    set.commands = {
        { Command::kSelectAll, 0, QApplication::translate("CMainFrame", "Select &All"),
            [&view] { view.selectAllItems(); }, [&document] { return document.itemCount() > 0; },
            { kEditMenu, 100 }, QKeySequence::SelectAll },
        { Command::kSelectNone, 0, QApplication::translate("CMainFrame", "Select &None"),
            [&view] { view.selectNoItems(); }, always, { kEditMenu, 110 } },
        { Command::kRemove, 0, QApplication::translate("CMainFrame", "&Remove from Album..."),
            [&view] { view.removeCommand(); }, selection, { kEditMenu, 200 }, {},
            style->standardIcon(QStyle::SP_TrashIcon), 3 },
        { Command::kFieldLabels, 0, QApplication::translate("CMainFrame", "&Field Labels..."),
            [&view] { view.fieldLabelsCommand(); }, always, { kAlbumMenu, 200 } },
        { Command::kOpenPicture, 0, QApplication::translate("CMainFrame", "&Open Picture"),
            [&view] { view.openCurrentPicture(); }, current, { kItemMenu, 100 } },
        { Command::kItemProperties, 0, QApplication::translate("CMainFrame", "&Properties..."),
            [&view] { view.itemProperties(); }, current, { kItemMenu, 110 } },
        { Command::kCopyFiles, 0, QApplication::translate("CMainFrame", "&Copy Files to Folder..."),
            [&view] { view.copyFilesCommand(); }, selection, { kItemMenu, 120 } },
        { Command::kRebuildThumbnail, 0,
            QApplication::translate("CMainFrame", "Re&build Thumbnail"),
            [&view, &document] { rebuildThumbnailStep(document, view.current()); }, current,
            { kItemMenu, 200 } },
        { Command::kPlaySound, 0, QApplication::translate("CMainFrame", "P&lay Attached Sound"),
            [&view] { view.playAttachedSound(); }, attachment, { kItemMenu, 310 }, {},
            style->standardIcon(QStyle::SP_MediaPlay), 4 },
        { Command::kRemoveSound, 0, QApplication::translate("CMainFrame", "Remove Attached So&und"),
            [&view] { view.removeAttachedSound(); }, attachment, { kItemMenu, 320 } },
        { Command::kPrint, 0, QApplication::translate("CMainFrame", "&Print..."),
            [printer, &view] {
                printer->setFieldLabels(view.fieldLabels());
                printer->printCommand();
            },
            [&document] { return document.canPrint(); }, { kFileMenu, 500 }, QKeySequence::Print },
        { Command::kPrintSetup, 0, QApplication::translate("CMainFrame", "P&rint Setup..."),
            [printer] { printer->printSetupCommand(); }, always, { kFileMenu, 510 } },
    };
    return set;
}

CommandSet albumManagementCommandSet(AlbumManager &manager)
{
    const std::pair<int, const char *> commands[] = {
        { Command::kRenameAlbum, QT_TRANSLATE_NOOP("CMainFrame", "&Rename Album...") },
        { Command::kCopyAlbum, QT_TRANSLATE_NOOP("CMainFrame", "&Copy Album...") },
        { Command::kDeleteAlbum, QT_TRANSLATE_NOOP("CMainFrame", "&Delete Album...") },
        { Command::kCopyAlbumFiles,
            QT_TRANSLATE_NOOP("CMainFrame", "Copy Album Files to &Folder...") },
        { Command::kAlbumProperties, QT_TRANSLATE_NOOP("CMainFrame", "Album &Properties...") },
    };
    CommandSet set;
    set.name = QStringLiteral("album management");
    set.menus = { standardMenu(kAlbumMenu) };
    int position = 300;
    for (const auto &[id, text] : commands) {
        set.commands.append({ id, 0, QApplication::translate("CMainFrame", text),
            [&manager, id = id] { manager.runCommand(id); },
            [&manager, id = id] { return manager.isEnabled(id); }, { kAlbumMenu, position++ } });
    }
    return set;
}

CommandSet launcherCommandSet(LauncherBar &launcher)
{
    CommandSet set;
    set.name = QStringLiteral("launcher");
    set.menus = { standardMenu(kAlbumMenu) };
    set.commands = {
        { Command::kExternalPrograms, 0,
            QApplication::translate("CMainFrame", "&External Programs..."),
            [&launcher] { launcher.runSetup(); }, {}, { kAlbumMenu, 400 } },
    };
    return set;
}

CommandSet onlineServiceCommandSet(CAlbumDoc &document, QWidget *frame)
{
    return onlineCommandSet(
        document, frame, [] { return appSettings().onlineService(); },
        [] { return appSettings().folders().photosFolder(); });
}

CommandSet helpCommandSet()
{
    CommandSet set;
    set.name = QStringLiteral("help");
    set.menus = { standardMenu(kHelpMenu) };
    set.commands = {
        { Command::kHelpIndex, 0, QApplication::translate("CMainFrame", "&Help Topics"),
            [] { openHelpTopic(0); }, {}, { kHelpMenu, 100 }, QKeySequence::HelpContents },
        { Command::kHelpTopic400, 0, QApplication::translate("CMainFrame", "&Getting Started"),
            [] { openHelpTopic(400); }, {}, { kHelpMenu, 110 } },
    };
    return set;
}

CommandSet undoCommandSet(CAlbumDoc &document)
{
    QUndoStack &stack = document.undoStack();
    CommandSet set;
    set.name = QStringLiteral("undo");
    set.menus = { standardMenu(kEditMenu) };
    // Places -101 and -100: before Cut (10), with a separator between.
    set.commands = {
        { Command::kUndo, 0, QApplication::translate("CMainFrame", "&Undo"),
            [&stack] { stack.undo(); }, [&stack] { return stack.canUndo(); }, { kEditMenu, -101 },
            QKeySequence::Undo },
        { Command::kRedo, 0, QApplication::translate("CMainFrame", "&Redo"),
            [&stack] { stack.redo(); }, [&stack] { return stack.canRedo(); }, { kEditMenu, -100 },
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) },
    };
    return set;
}

void bindUndoActions(QAction *undo, QAction *redo, QUndoStack &stack)
{
    if (!undo || !redo)
        return;
    redo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    const auto refresh = [undo, redo, &stack] {
        undo->setEnabled(stack.canUndo());
        redo->setEnabled(stack.canRedo());
        undo->setText(stack.canUndo()
                ? QApplication::translate("CMainFrame", "&Undo %1").arg(stack.undoText())
                : QApplication::translate("CMainFrame", "&Undo"));
        redo->setText(stack.canRedo()
                ? QApplication::translate("CMainFrame", "&Redo %1").arg(stack.redoText())
                : QApplication::translate("CMainFrame", "&Redo"));
    };
    QObject::connect(&stack, &QUndoStack::indexChanged, undo, refresh);
    QObject::connect(&stack, &QUndoStack::cleanChanged, undo, refresh);
    refresh();
}

} // namespace glimmerix
