#include "app/ui/mainframe.h"

#include "album/albumdoc.h"
#include "album/albumtesthelpers.h"
#include "core/commandids.h"
#include "core/folders.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "view/ui/albumview.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

QMenu *editMenu(CMainFrame &frame)
{
    for (QAction *entry : frame.menuBar()->actions()) {
        if (entry->menu() && entry->menu()->objectName() == QLatin1String("edit"))
            return entry->menu();
    }
    return nullptr;
}

QAction *menuAction(QMenu &menu, int id)
{
    for (QAction *entry : menu.actions()) {
        if (entry->data().toInt() == id)
            return entry;
    }
    return nullptr;
}

// The window with its Edit menu open over it, for the documentation.
void saveMenuScreenshot(CMainFrame &frame, QMenu &menu, const QString &fileName)
{
    const QString folder = qEnvironmentVariable("GLIMMERIX_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    const QPoint at = frame.menuBar()->actionGeometry(menu.menuAction()).bottomLeft();
    menu.popup(frame.menuBar()->mapToGlobal(at));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QPixmap picture = frame.grab();
    QPainter painter(&picture);
    painter.drawPixmap(frame.mapFromGlobal(menu.mapToGlobal(QPoint(0, 0))), menu.grab());
    painter.end();
    menu.hide();
    ASSERT_TRUE(picture.save(QDir(folder).filePath(fileName)));
}

} // namespace

// Removing a selection of 50 items is one step: the Edit menu names it, Ctrl+Z brings the items
// back as they were, Ctrl+Y and Ctrl+Shift+Z take them out again.
TEST(UndoMenu, RemovalOfFiftyItemsIsUndoneAndRedoneThroughTheMenu)
{
    RecordingHost host;
    QDir().mkpath(albumsFolder());
    const QString folder = makeTestFolder(QStringLiteral("undo-menu"));
    CMainFrame frame;
    frame.SelectAlbumByName(QStringLiteral("NEW"));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CAlbumDoc &document = *frame.document();
    {
        const CAlbumDoc::ChangeBatch batch(document);
        for (int i = 0; i < 60; ++i)
            document.insertItem(testItem(folder + QStringLiteral("/photo%1.jpg").arg(i)));
    }
    for (int i = 5; i < 55; ++i)
        document.item(i)->setSelected(true);
    const QByteArray before = storedAlbumBytes(document);

    QMenu *menu = editMenu(frame);
    ASSERT_TRUE(menu);
    QAction *undo = menuAction(*menu, Command::kUndo);
    QAction *redo = menuAction(*menu, Command::kRedo);
    ASSERT_TRUE(undo && redo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(menu->actions().indexOf(undo), 0);

    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->accept();
    });
    ASSERT_TRUE(frame.runCommand(Command::kRemove));
    ASSERT_EQ(document.itemCount(), 10);
    const QByteArray after = storedAlbumBytes(document);
    Q_EMIT menu->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Remove 50 Items"));
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo"));

    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    // The keys go to the grid, as after a click on it (a text field keeps Ctrl+Z for its own
    // typing).
    frame.view()->setFocus();
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document.itemCount(), 60);
    EXPECT_EQ(storedAlbumBytes(document), before);
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo Remove 50 Items"));
    EXPECT_FALSE(undo->isEnabled());

    QTest::keyClick(&frame, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(storedAlbumBytes(document), after);
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(storedAlbumBytes(document), after);

    // The menu entries themselves do the same; a save keeps the steps, and undo after it marks
    // the album modified again.
    ASSERT_TRUE(document.saveAs(QStringLiteral("Undo")));
    EXPECT_FALSE(document.isModified());
    undo->trigger();
    EXPECT_EQ(storedAlbumBytes(document), before);
    EXPECT_TRUE(document.isModified());

    redo->trigger();
    EXPECT_EQ(storedAlbumBytes(document), after);
    Q_EMIT menu->aboutToShow();
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Remove 50 Items"));
    saveMenuScreenshot(frame, *menu, QStringLiteral("edit-menu-undo.png"));

    // Another album empties the stack.
    frame.SelectAlbumByName(QStringLiteral("NEW"));
    EXPECT_FALSE(document.undoStack().canUndo());
    EXPECT_FALSE(document.undoStack().canRedo());
}
