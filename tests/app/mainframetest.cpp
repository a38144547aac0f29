#include "app/ui/mainframe.h"

#include "album/albumdoc.h"
#include "album/albumformat.h"
#include "album/albumitem.h"
#include "album/albumtesthelpers.h"
#include "app/launcherlayout.h"
#include "app/ui/albumcommands.h"
#include "app/ui/guihost.h"
#include "app/ui/launcherbar.h"
#include "core/commandids.h"
#include "core/folders.h"
#include "core/imagepath.h"
#include "ole/ui/albumtransfer.h"
#include "platform/channeltestsupport.h"
#include "platform/instancechannel.h"
#include "platform/strings.h"
#include "support/recordinghost.h"
#include "support/recordingstarter.h"
#include "support/testenvironment.h"
#include "view/albumclipboard.h"
#include "view/ui/albumview.h"
#include "view/ui/cellwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QRadioButton>
#include <QSharedMemory>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace glimmerix;

namespace
{

QStringList itemPaths(const CAlbumDoc &document)
{
    QStringList paths;
    for (int i = 0; i < document.itemCount(); ++i)
        paths.append(document.item(i)->path());
    return paths;
}

// Runs `act` on the next modal dialog once it is open (the command under test waits in it).
void whenDialogOpens(std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        act(dialog);
    });
}

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(albumsFolder());
        folder = makeTestFolder(QStringLiteral("media"));
        // One saved album in the albums folder.
        CAlbumDoc saved;
        saved.onNewDocument();
        saved.addFile(makeTestPicture(folder, QStringLiteral("saved.jpg")));
        ASSERT_TRUE(saved.saveAs(QStringLiteral("Trip")));
        frame = std::make_unique<CMainFrame>();
        frame->SelectAlbumByName(QStringLiteral("NEW"));
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override { frame.reset(); }

    CAlbumDoc &document() const { return *frame->document(); }

    RecordingHost host;
    QString folder;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, AlbumListSwitchAsksAboutAModifiedUntitledAlbum)
{
    QComboBox *list = frame->albumList();
    ASSERT_EQ(list->objectName(), "32785");
    EXPECT_EQ(list->currentText(), CAlbumDoc::untitledName());
    EXPECT_TRUE(frame->IsNewAlbumSelected());
    document().addFile(makeTestPicture(folder, QStringLiteral("new.jpg")));
    ASSERT_TRUE(document().isModified());

    // Cancel keeps the untitled album and puts the list back.
    host.queueAnswer(MessageAnswer::Cancel);
    list->setCurrentIndex(list->findText(QStringLiteral("Trip")));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50325 }));
    EXPECT_TRUE(document().isUntitled());
    EXPECT_EQ(document().itemCount(), 1);
    EXPECT_EQ(list->currentText(), CAlbumDoc::untitledName());

    // No drops the changes and opens the chosen album.
    host.clear();
    host.queueAnswer(MessageAnswer::No);
    list->setCurrentIndex(list->findText(QStringLiteral("Trip")));
    EXPECT_EQ(host.messageIds(), (QList<int> { 50325 }));
    EXPECT_EQ(QFileInfo(document().pathName()).fileName(), "Trip.gmx");
    EXPECT_EQ(itemPaths(document()), (QStringList { folder + "/saved.jpg" }));
    EXPECT_EQ(list->currentText(), "Trip");
    EXPECT_EQ(frame->view()->current(), -1);
    EXPECT_EQ(frame->GetSelectedAlbumPath(), albumsFolder() + "/Trip.gmx");

    // Back to a new album: an unmodified album is not asked about.
    host.clear();
    list->setCurrentIndex(list->findText(CAlbumDoc::untitledName()));
    EXPECT_TRUE(host.messageIds().isEmpty());
    EXPECT_TRUE(document().isUntitled());
    EXPECT_EQ(document().itemCount(), 0);
}

TEST_F(MainFrameTest, AlbumFromAnotherFolderIsListedWithAStar)
{
    CAlbumDoc outside;
    outside.onNewDocument();
    const QString path = folder + "/Elsewhere.gmx";
    ASSERT_TRUE(outside.onSaveDocument(path));
    frame->SelectAlbumByName(path);
    EXPECT_EQ(frame->albumList()->currentText(), "Elsewhere*");
    EXPECT_EQ(frame->externalAlbumPath(), path);
}

TEST_F(MainFrameTest, DroppedFilesKeepTheirOrderAtTheDropPoint)
{
    const QString a = makeTestPicture(folder, "a.jpg"), b = makeTestPicture(folder, "b.jpg");
    ASSERT_EQ(frame->addDroppedFiles({ a, b }, QPoint(-5, -5)), 2); // not on an item: the end
    const QStringList dropped = { makeTestPicture(folder, "x.jpg"),
        makeTestPicture(folder, "y.jpg"), makeTestPicture(folder, "z.jpg") };
    // The point lies on the second cell.
    const QPoint onSecond = cellRect(0, 1).center();
    EXPECT_EQ(frame->addDroppedFiles(dropped + QStringList { a }, onSecond), 3);
    EXPECT_EQ(itemPaths(document()), (QStringList { a, dropped[0], dropped[1], dropped[2], b }));
}

TEST_F(MainFrameTest, EnableStatesAndStatusPanesFollowTheAlbum)
{
    EXPECT_FALSE(frame->action(Command::kSendMail)->isEnabled());
    EXPECT_FALSE(frame->action(Command::kSave)->isEnabled());
    document().addFile(makeTestPicture(folder, "one.jpg"));
    Q_EMIT document().itemsChanged();
    EXPECT_FALSE(frame->action(Command::kSort)->isEnabled()); // one item
    EXPECT_TRUE(frame->action(Command::kSave)->isEnabled());
    document().addFile(makeTestPicture(folder, "two.jpg"));
    Q_EMIT document().itemsChanged();
    EXPECT_TRUE(frame->action(Command::kSort)->isEnabled());

    QTest::mouseClick(frame->view()->cells()[1], Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_TRUE(frame->action(Command::kSendMail)->isEnabled());
    EXPECT_FALSE(frame->action(Command::kPlaySound)->isEnabled());
    document().setAttachmentPath(1, folder + "/note.wav");
    EXPECT_TRUE(frame->action(Command::kPlaySound)->isEnabled());
    EXPECT_TRUE(frame->runCommand(Command::kRemoveSound));
    EXPECT_TRUE(document().item(1)->attachmentPath().isEmpty());
    EXPECT_FALSE(frame->action(Command::kRemoveSound)->isEnabled());

    EXPECT_EQ(frame->findChild<QLabel *>("123")->text(), "Items: 2");
    EXPECT_EQ(frame->albumSizePaneText().left(16), "Album: 2 items, ");
    QFile::remove(folder + "/two.jpg");
    Q_EMIT document().itemsChanged();
    EXPECT_EQ(frame->albumSizePaneText(), "Album: 2 items, some files are missing");
}

TEST_F(MainFrameTest, ImagePathMessageAddsThePicture)
{
    EXPECT_EQ(frame->handleInstanceMessage(kImagePathMessage, 0, 0, {}), 0); // no shared memory
    const QString picture = makeTestPicture(folder, "shared.jpg");
    const auto memory = publishImagePath(picture);
    ASSERT_TRUE(memory);
    EXPECT_EQ(frame->handleInstanceMessage(kImagePathMessage, 0, 0, {}), 1);
    EXPECT_EQ(itemPaths(document()), (QStringList { picture }));
    // The same picture again is a duplicate: not added, result 0.
    EXPECT_EQ(frame->handleInstanceMessage(kImagePathMessage, 0, 0, {}), 0);
}

TEST_F(MainFrameTest, SizingSnapsToWholeCellsAndMinimumSizeHolds)
{
    const GridReserve reserve = frame->view()->reserve();
    const QSize nonClient = frame->size() - frame->view()->size();
    const QRect snapped = frame->snapSizing(QRect(10, 10, 700, 520), 7);
    EXPECT_EQ((snapped.width() - reserve.right - nonClient.width()) % grid::kPitchX, 0);
    EXPECT_EQ(
        (snapped.height() - reserve.bottom - nonClient.height() - grid::kOriginY) % grid::kPitchY,
        0);
    EXPECT_EQ(snapped.topLeft(), QPoint(10, 10));
    EXPECT_EQ(frame->minimumSize(), QSize(667, 400));
}

TEST_F(MainFrameTest, FieldLabelsSortAndRemoveThroughTheirDialogs)
{
    for (const char *name : { "b.jpg", "c.jpg", "a.jpg" })
        document().addFile(makeTestPicture(folder, QLatin1String(name)));
    Q_EMIT document().itemsChanged();

    // Field labels: an empty text keeps its label; the settings hear of the change.
    QStringList heard;
    QObject::connect(frame.get(), &CMainFrame::fieldLabelsChanged,
        [&](const QStringList &labels) { heard = labels; });
    whenDialogOpens([](QDialog *dialog) {
        dialog->findChild<QLineEdit *>("label1")->setText("Tags:");
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kFieldLabels));
    EXPECT_EQ(heard.value(1), "Tags:");
    EXPECT_EQ(frame->view()->findChild<QLabel *>("1004")->text(), "Tags:");
    EXPECT_EQ(frame->view()->findChild<QLabel *>("1003")->text(), heard.value(0));

    // Sort by file name.
    whenDialogOpens([](QDialog *dialog) {
        dialog->findChild<QRadioButton *>("key0")->setChecked(true);
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kSort));
    EXPECT_EQ(itemPaths(document()),
        (QStringList { folder + "/a.jpg", folder + "/b.jpg", folder + "/c.jpg" }));

    // Remove the first two items together with their files.
    document().item(0)->setSelected(true);
    document().item(1)->setSelected(true);
    whenDialogOpens([](QDialog *dialog) {
        dialog->findChild<QCheckBox *>("deleteFiles")->setChecked(true);
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kRemove));
    EXPECT_EQ(itemPaths(document()), (QStringList { folder + "/c.jpg" }));
    EXPECT_FALSE(QFile::exists(folder + "/a.jpg"));
    EXPECT_FALSE(QFile::exists(folder + "/b.jpg"));
    EXPECT_EQ(frame->view()->current(), -1);

    // Cancelling the removal keeps everything.
    document().item(0)->setSelected(true);
    whenDialogOpens([](QDialog *dialog) { dialog->reject(); });
    ASSERT_TRUE(frame->runCommand(Command::kRemove));
    EXPECT_EQ(document().itemCount(), 1);
    EXPECT_TRUE(QFile::exists(folder + "/c.jpg"));
}

TEST_F(MainFrameTest, MailHandsTheCurrentFileToTheMailProgram)
{
    const QString picture = makeTestPicture(folder, "mail me.jpg");
    document().addFile(picture);
    Q_EMIT document().itemsChanged();
    // xdg-email hands the mailto: address to $BROWSER when no desktop mail program is set.
    const QString recorder = folder + "/recorder.sh";
    const QString record = folder + "/mailto.txt";
    QFile script(recorder);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // Written aside and renamed, so the test never reads the record half-written.
    script.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1.part' && mv '%1.part' '%1'\n")
                     .arg(record)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    qputenv("BROWSER", recorder.toUtf8());

    EXPECT_FALSE(frame->runCommand(Command::kSendMail)); // no current item
    QTest::mouseClick(frame->view()->cells()[0], Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(frame->runCommand(Command::kSendMail));
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(record) && clock.elapsed() < 10000)
        QTest::qWait(50);
    QFile mailto(record);
    ASSERT_TRUE(mailto.open(QIODevice::ReadOnly));
    const QString address = QString::fromUtf8(mailto.readAll());
    EXPECT_TRUE(address.startsWith("mailto:")) << qPrintable(address);
    EXPECT_TRUE(address.contains("attach=" + picture)
        || address.contains("attach=" + QUrl::toPercentEncoding(picture, "/")))
        << qPrintable(address);
    qunsetenv("BROWSER");
}

TEST_F(MainFrameTest, AttachedSoundPlaysInItsOwnWindow)
{
    // As the program does: Qt Multimedia plays through FFmpeg.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    document().addFile(makeTestPicture(folder, "with sound.jpg"));
    Q_EMIT document().itemsChanged();
    QTest::mouseClick(frame->view()->cells()[0], Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(frame->runCommand(Command::kPlaySound));
    const QString sound = folder + "/note.wav";
    document().setAttachmentPath(0, sound);
    ASSERT_TRUE(frame->runCommand(Command::kPlaySound));
    QWidget *player = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == "soundPlayer")
            player = window;
    }
    ASSERT_TRUE(player);
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(player->windowTitle(), sound);
}

TEST_F(MainFrameTest, SaveAsNamesTheAlbumAndOpenAlbumChoosesFromTheList)
{
    document().addFile(makeTestPicture(folder, "kept.jpg"));
    Q_EMIT document().itemsChanged();
    whenDialogOpens([](QDialog *dialog) {
        dialog->findChild<QLineEdit *>()->setText("Garden Party");
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kSaveAs));
    EXPECT_EQ(document().pathName(), albumsFolder() + "/Garden Party.gmx");
    EXPECT_FALSE(document().isModified());
    EXPECT_EQ(frame->albumList()->currentText(), "Garden Party");
    EXPECT_FALSE(frame->action(Command::kSave)->isEnabled());
    QStringList remembered;
    QObject::connect(frame.get(), &CMainFrame::lastFileChanged,
        [&](const QString &path) { remembered.append(path); });

    whenDialogOpens([](QDialog *dialog) {
        auto *choice = dialog->findChild<QComboBox *>();
        choice->setCurrentIndex(choice->findText("Trip"));
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kOpenAlbum));
    EXPECT_EQ(document().pathName(), albumsFolder() + "/Trip.gmx");
    EXPECT_EQ(frame->albumList()->currentText(), "Trip");
    EXPECT_EQ(remembered, (QStringList { albumsFolder() + "/Trip.gmx" }));
}

// Closing asks about album items that Copy put on the clipboard: "No" (the default) empties it,
// "Yes" leaves them. Once another program has replaced them there is nothing of ours to ask about,
// and its data must survive.
TEST_F(MainFrameTest, ClosingAsksAboutAlbumItemsStillOnTheClipboard)
{
    document().addFile(makeTestPicture(folder, QStringLiteral("copied.jpg")));
    document().markClean();
    struct Case {
        const char *name;
        bool replacedByAnotherProgram;
        std::optional<MessageAnswer> answer; // nothing: the default button
        bool asked;
        bool itemsLeft;
    };
    const Case cases[] = {
        { "default answer empties", false, std::nullopt, true, false },
        { "yes keeps the items", false, MessageAnswer::Yes, true, true },
        { "another program's data", true, std::nullopt, false, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host.clear();
        frame->show();
        frame->view()->setCurrent(0);
        ASSERT_TRUE(frame->runCommand(Command::kCopy));
        EXPECT_TRUE(frame->isClipboardOwner());
        if (c.replacedByAnotherProgram)
            QApplication::clipboard()->setText(QStringLiteral("another program's text"));
        if (c.answer)
            host.queueAnswer(*c.answer);
        EXPECT_TRUE(frame->close());
        EXPECT_EQ(host.messageIds(), c.asked ? QList<int> { 50393 } : QList<int> {});
        if (c.asked) {
            EXPECT_EQ(host.shown().first().look.defaultButton, 1); // "No" is the default
        }
        const QMimeData *left = QApplication::clipboard()->mimeData();
        EXPECT_EQ(left && left->hasFormat(QString::fromLatin1(mime::kAlbumStream)), c.itemsLeft);
        if (c.replacedByAnotherProgram) {
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("another program's text"));
        }
    }
}

// An album item dragged onto a launcher button starts that button's program with the item's
// file, through the program starter; a drop beside the buttons starts nothing.
TEST_F(MainFrameTest, AlbumItemDroppedOnALauncherButtonStartsItsProgramWithTheFile)
{
    RecordingStarter starter;
    const QString viewer = folder + QStringLiteral("/viewer");
    LauncherBar *bar = frame->launcherBar();
    bar->setPrograms({ { viewer, QStringLiteral("Viewer"), {} } });
    const QString picture = makeTestPicture(folder, QStringLiteral("for the viewer.jpg"));
    document().addFile(picture);
    const std::unique_ptr<QMimeData> data(frame->transfer()->dragData(0));
    // As in a real drag, the bar takes the drag when it enters, then the drop lands.
    for (const QPoint at :
        { QPoint(bar->width() - 2, 2), launcherButtonRect(0).toRect().center() }) {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(bar, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
            Qt::NoModifier);
        QApplication::sendEvent(bar, &drop);
    }
    ASSERT_EQ(starter.started.size(), 1);
    EXPECT_EQ(starter.started[0].program, viewer);
    EXPECT_EQ(starter.started[0].arguments, QStringList { QFileInfo(picture).absoluteFilePath() });
}

// Opening an item that is neither a picture nor a clip or sound the program plays goes to the
// desktop; when no application takes it, the window says so.
TEST_F(MainFrameTest, AnItemNoApplicationOpensIsNamed)
{
    RecordingStarter starter;
    const QString clip = folder + QStringLiteral("/not really.avi");
    writeFile(clip, QByteArray("no clip inside"));
    ASSERT_EQ(
        document().insertItem(std::make_unique<AlbumItem>(testThumbnail(clip), clip, false)), 1);
    frame->openItem(0);
    EXPECT_EQ(starter.opened, QStringList { clip });
    EXPECT_TRUE(host.messageIds().isEmpty());
    starter.fail = true;
    frame->openItem(0);
    EXPECT_EQ(host.messageIds(), QList<int> { Message::kNoApplicationForFile });
}

// A drag within the album: the drop moves the selection, and the drag's end makes the item at
// the drop place current, or counts as a click when the drop lands on the pressed item.
TEST_F(MainFrameTest, DragWithinTheAlbumEndsOnTheDropPlace)
{
    QStringList names;
    for (int i = 0; i < 6; ++i)
        names.append(
            QFileInfo(makeTestPicture(folder, QStringLiteral("%1.jpg").arg(i))).fileName());
    for (const QString &name : names)
        document().addFile(folder + u'/' + name);
    Q_EMIT document().itemsChanged();
    CAlbumView &view = *frame->view();
    AlbumTransfer &transfer = *frame->transfer();
    const int columns = view.gridSize().columns;
    const auto cellPoint
        = [&](int index) { return cellRect(index / columns, index % columns).center(); };
    const auto order = [&] {
        QStringList now;
        for (int i = 0; i < document().itemCount(); ++i)
            now.append(document().item(i)->fileName());
        return now;
    };

    // Items 0 and 1 dropped onto item 4: 2,3,4,0,1,5, and the item at 4 becomes current.
    view.setCurrent(0);
    view.clickItem(1, Qt::ControlModifier);
    std::unique_ptr<QMimeData> data(transfer.dragData(0));
    ASSERT_TRUE(transfer.drop(data.get(), cellPoint(4)));
    transfer.finishDrag(0, Qt::NoModifier, Qt::CopyAction);
    EXPECT_EQ(
        order(), (QStringList { names[2], names[3], names[4], names[0], names[1], names[5] }));
    EXPECT_EQ(view.current(), 4);

    // Dropped back on the pressed item: a plain click on it, so it is the only one selected.
    view.setCurrent(2);
    view.clickItem(3, Qt::ControlModifier);
    ASSERT_EQ(document().selectedCount(), 2);
    data.reset(transfer.dragData(3));
    ASSERT_TRUE(transfer.drop(data.get(), cellPoint(3)));
    transfer.finishDrag(3, Qt::NoModifier, Qt::CopyAction);
    EXPECT_EQ(document().selectedCount(), 1);
    EXPECT_EQ(view.current(), 3);

    // A drag that ended elsewhere (no drop here) leaves the current item alone.
    transfer.finishDrag(0, Qt::NoModifier, Qt::IgnoreAction);
    EXPECT_EQ(view.current(), 3);
}

TEST_F(MainFrameTest, ClosingWithUnsavedChangesCanBeCancelled)
{
    document().addFile(makeTestPicture(folder, "unsaved.jpg"));
    host.queueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(host.messageIds(), (QList<int> { 50325 }));
    EXPECT_TRUE(frame->isVisible());
}

// Every way of putting another album in place of a modified one asks about the changes first,
// the album bar's untitled entry included; Cancel keeps the album, its changes and the list entry.
TEST_F(MainFrameTest, ReplacingAModifiedAlbumAsksFirstAndCancelKeepsTheChanges)
{
    CAlbumDoc other;
    other.onNewDocument();
    ASSERT_TRUE(other.saveAs(QStringLiteral("Other")));
    const QString outside = folder + "/Outside.gmx";
    ASSERT_TRUE(other.onSaveDocument(outside));
    const QString trip = albumsFolder() + "/Trip.gmx";
    QComboBox *list = frame->albumList();
    const auto choose
        = [list](const QString &entry) { list->setCurrentIndex(list->findText(entry)); };
    struct Way {
        const char *name;
        std::function<void()> replace;
    };
    const Way ways[] = {
        { "album bar: new album", [&] { choose(CAlbumDoc::untitledName()); } },
        { "album bar: another album", [&] { choose(QStringLiteral("Other")); } },
        { "New", [&] { frame->runCommand(Command::kNew); } },
        { "Open",
            [&] {
                host.queueOpenFileNames({ outside });
                frame->runCommand(Command::kOpen);
            } },
        { "album chooser: new album",
            [&] {
                whenDialogOpens([](QDialog *dialog) {
                    auto *choice = dialog->findChild<QComboBox *>();
                    choice->setCurrentIndex(choice->findText(CAlbumDoc::untitledName()));
                    dialog->accept();
                });
                frame->runCommand(Command::kOpenAlbum);
            } },
        { "by name", [&] { frame->SelectAlbumByName(QStringLiteral("NEW")); } },
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        document().markClean();
        frame->SelectAlbumByName(trip);
        ASSERT_EQ(document().pathName(), trip);
        document().addFile(makeTestPicture(folder, QStringLiteral("change.jpg")));
        ASSERT_TRUE(document().isModified());
        host.clear();
        host.queueAnswer(MessageAnswer::Cancel);
        way.replace();
        EXPECT_EQ(host.messageIds(), (QList<int> { 59004 }));
        EXPECT_EQ(document().pathName(), trip);
        EXPECT_EQ(document().itemCount(), 2);
        EXPECT_TRUE(document().isModified());
        EXPECT_EQ(list->currentText(), "Trip");
    }

    // Yes saves the changes before the new album starts.
    host.clear();
    host.queueAnswer(MessageAnswer::Yes);
    choose(CAlbumDoc::untitledName());
    EXPECT_TRUE(document().isUntitled());
    CAlbumDoc reread;
    ASSERT_TRUE(reread.onOpenDocument(trip));
    EXPECT_EQ(reread.itemCount(), 2);
}

TEST_F(MainFrameTest, OpenConvertAndRebuildAreInTheMenusAndWork)
{
    QList<int> inMenus;
    for (const QAction *menu : frame->menuBar()->actions()) {
        for (const QAction *command : menu->menu()->actions())
            inMenus << command->data().toInt();
    }
    for (int id : { Command::kOpen, Command::kConvertOldAlbums, Command::kRebuildThumbnail })
        EXPECT_TRUE(inMenus.contains(id)) << id;
    EXPECT_EQ(frame->action(Command::kOpen)->shortcut(), QKeySequence(QKeySequence::Open));

    // Open takes an album from any folder; the list marks it as from elsewhere.
    const QString picture = makeTestPicture(folder, QStringLiteral("far.jpg"));
    CAlbumDoc far;
    far.onNewDocument();
    far.addFile(picture);
    ASSERT_TRUE(far.onSaveDocument(folder + "/Far.gmx"));
    host.queueOpenFileNames({ folder + "/Far.gmx" });
    ASSERT_TRUE(frame->runCommand(Command::kOpen));
    EXPECT_EQ(document().pathName(), folder + "/Far.gmx");
    EXPECT_EQ(frame->albumList()->currentText(), "Far*");

    // Rebuild remakes the current item's thumbnail from its changed file.
    EXPECT_FALSE(frame->action(Command::kRebuildThumbnail)->isEnabled());
    QTest::mouseClick(frame->view()->cells()[0], Qt::LeftButton, {}, QPoint(40, 40));
    QImage wide(100, 50, QImage::Format_RGB32);
    wide.fill(Qt::red);
    ASSERT_TRUE(wide.save(picture, "JPG"));
    ASSERT_TRUE(frame->runCommand(Command::kRebuildThumbnail));
    EXPECT_EQ(document().item(0)->info()->thumbWidth, 80);
    EXPECT_EQ(document().item(0)->info()->thumbHeight, 40);
    EXPECT_TRUE(document().isModified());

    // Convert reads an older album (144-byte header, 288-byte records) into a new album.
    QByteArray old(144 + 288, '\0');
    old[8] = 1;
    old.replace(16, 8, "Old days");
    old.replace(144 + 8, picture.toUtf8().size(), picture.toUtf8());
    old.replace(144 + 136, 14, "From the attic");
    QFile file(folder + "/attic.alb");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();
    host.clear();
    host.queueAnswer(MessageAnswer::No); // the rebuilt album's changes are not kept
    host.queueOpenFileNames({ file.fileName() });
    ASSERT_TRUE(frame->runCommand(Command::kConvertOldAlbums));
    EXPECT_EQ(host.openQuestions().first().multiple, true);
    EXPECT_EQ(document().pathName(), albumsFolder() + "/attic.gmx");
    ASSERT_EQ(document().itemCount(), 1);
    QString description;
    document().itemText(0, description, false);
    EXPECT_EQ(description, "From the attic");
    EXPECT_EQ(frame->albumList()->currentText(), "attic");
}

TEST_F(MainFrameTest, AttachSoundRefusesAPathTheRecordCannotHold)
{
    document().addFile(makeTestPicture(folder, QStringLiteral("pic.jpg")));
    Q_EMIT document().itemsChanged();
    QTest::mouseClick(frame->view()->cells()[0], Qt::LeftButton, {}, QPoint(40, 40));
    document().markClean();
    const QString tooLong = folder + u'/' + QString(300, u'a') + ".wav";
    host.queueOpenFileNames({ tooLong });
    ASSERT_TRUE(frame->runCommand(Command::kAttachSound));
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_TRUE(host.shown().first().text.contains("264 bytes"));
    EXPECT_TRUE(document().item(0)->attachmentPath().isEmpty());
    EXPECT_FALSE(document().isModified());

    host.queueOpenFileNames({ folder + "/note.wav" });
    ASSERT_TRUE(frame->runCommand(Command::kAttachSound));
    EXPECT_EQ(document().item(0)->attachmentPath(), folder + "/note.wav");
    EXPECT_TRUE(document().isModified());
}

TEST_F(MainFrameTest, EmptyLauncherBarHasRoomForItsWholeText)
{
    LauncherBar *bar = frame->launcherBar();
    bar->setPrograms({});
    QApplication::processEvents();
    const QString text = loadString(50504);
    EXPECT_GE(bar->emptyTextRect().width(), bar->fontMetrics().horizontalAdvance(text));
}

// Hand-overs that arrive while a dialog is open are answered at once and wait for it to close;
// senders that die halfway through their frame, or before their answer, change nothing. Once the
// dialog is closed the files are added in the order they came.
TEST_F(MainFrameTest, HandoversWaitForAnOpenDialogAndDeadSendersAreHarmless)
{
    InstanceServer server;
    server.setReceiver(kImagePathMessage, frame.get());
    ASSERT_TRUE(server.listen(QStringLiteral("handover-dialog")))
        << qPrintable(server.errorString());
    const QString sent = makeTestPicture(folder, "sent.jpg");
    const QString relayed = makeTestPicture(folder, "relayed.jpg");
    InstanceFrame request;
    request.number = kImagePathMessage;

    QMessageBox box(
        QMessageBox::Warning, "Glimmerix", "A dialog is open", QMessageBox::Ok, frame.get());
    InstanceReply reply;
    QElapsedTimer clock;
    int itemsWhileOpen = -1;
    QTimer::singleShot(0, [&] {
        for (const QByteArray &bytes : { encodeFrame(request).left(10), encodeFrame(request) }) {
            QLocalSocket dying;
            dying.connectToServer(server.socketPath());
            ASSERT_TRUE(dying.waitForConnected(2000));
            dying.write(bytes);
            dying.flush();
        } // the sender dies here
        clock.start();
        reply = runWhileServing([&] {
            const auto memory = publishImagePath(sent);
            return sendInstanceMessage(
                QStringLiteral("handover-dialog"), kImagePathMessage, 0, 0, {}, 5000);
        });
        frame->receiveHandedOverFile(relayed);
        QTest::qWait(0);
        itemsWhileOpen = document().itemCount();
        box.accept();
    });
    box.exec();

    EXPECT_TRUE(reply.delivered) << qPrintable(reply.error);
    EXPECT_EQ(reply.result, kImagePathQueued);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(itemsWhileOpen, 0);
    QTRY_COMPARE(itemPaths(document()), (QStringList { sent, relayed }));
    EXPECT_TRUE(frame->isVisible());
}

// A hand-over the album cannot read is answered at once; what the album says about it goes into
// one notice that names the file and blocks nothing, not into a message box per file.
TEST_F(MainFrameTest, HandoversThatCannotBeAddedShowOneNoticeAndNeverABox)
{
    GuiHost boxes; // real message boxes, as in the program
    boxes.setMainWindow(frame.get());
    Host *recording = setHost(&boxes);
    // Should a box open all the same, close it, so that the test fails instead of hanging.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(4000);

    InstanceServer server;
    server.setReceiver(kImagePathMessage, frame.get());
    ASSERT_TRUE(server.listen(QStringLiteral("handover-notice")));
    const QString damaged = folder + "/damaged.jpg";
    writeFile(damaged, QByteArray("\xFF\xD8\xFF\xE0 not really a picture"));
    for (const QString &path : { damaged, folder + "/missing.jpg" }) {
        QElapsedTimer clock;
        clock.start();
        const InstanceReply reply = runWhileServing([&] {
            const auto memory = publishImagePath(path);
            return sendInstanceMessage(
                QStringLiteral("handover-notice"), kImagePathMessage, 0, 0, {}, 3000);
        });
        EXPECT_TRUE(reply.delivered) << qPrintable(path) << ": " << qPrintable(reply.error);
        EXPECT_LT(clock.elapsed(), 2000);
    }
    setHost(recording);
    QMessageBox *notice = frame->findChild<QMessageBox *>("handoverNotice");
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isModal());
    EXPECT_TRUE(notice->informativeText().contains("damaged.jpg: "));
    EXPECT_TRUE(notice->informativeText().contains("missing.jpg: "));
    EXPECT_EQ(frame->findChildren<QMessageBox *>().size(), 1);
}

// The launcher bar fills its tool bar, so a right click anywhere on it opens the program
// chooser rather than the main window's menu of tool bars.
TEST_F(MainFrameTest, RightClickAnywhereOnTheLauncherBarOpensTheProgramChooser)
{
    LauncherBar *launcher = frame->launcherBar();
    const QWidget *bar = launcher->parentWidget();
    EXPECT_GT(launcher->width(), bar->width() * 9 / 10);
    bool chooserOpened = false;
    whenDialogOpens([&](QDialog *dialog) {
        chooserOpened = dialog->objectName() == "192";
        dialog->reject();
    });
    QTest::mouseClick(launcher, Qt::RightButton, {}, QPoint(launcher->width() - 10, 30));
    EXPECT_TRUE(chooserOpened);
}

// Two processes: a second start with two pictures adds both to the running window's album, and
// glimix-cli send-image adds a third through ImagePath.
TEST(MainFrameProcesses, SecondStartAndSendImageAddToTheRunningAlbum)
{
    const QString folder = makeTestFolder(QStringLiteral("handed"));
    const QString a = makeTestPicture(folder, "a.jpg"), b = makeTestPicture(folder, "b b.jpg");
    const QString c = makeTestPicture(folder, "c.jpg");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("GLIMMERIX_DEBUG_HANDOVER", "1");
    QProcess running;
    running.setProcessEnvironment(environment);
    running.start(programFolder() + "/glimix", {});
    ASSERT_TRUE(running.waitForStarted());

    auto waitForLine = [&](const QByteArray &line) {
        QByteArray seen;
        QElapsedTimer clock;
        clock.start();
        while (!seen.contains(line) && clock.elapsed() < 15000) {
            running.waitForReadyRead(100);
            seen += running.readAllStandardError();
        }
        return seen.contains(line);
    };

    // The first instance listens once its window is up.
    QElapsedTimer clock;
    clock.start();
    bool listening = false;
    while (!listening && clock.elapsed() < 15000) {
        QLocalSocket probe;
        probe.connectToServer(instanceSocketPath(QStringLiteral("glimix")));
        listening = probe.waitForConnected(100);
        if (!listening)
            QTest::qWait(100);
    }
    ASSERT_TRUE(listening);

    QProcess second;
    second.start(programFolder() + "/glimix", { a, b });
    EXPECT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitForLine("album items: 2"));

    QProcess cli;
    cli.start(programFolder() + "/glimix-cli", { "send-image", c });
    ASSERT_TRUE(cli.waitForFinished(15000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().constData();
    EXPECT_TRUE(waitForLine("album items: 3"));
    running.kill();
    running.waitForFinished();
}

} // namespace
