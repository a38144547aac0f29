#include "app/ui/singlefileviewing.h"
#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "app/singlefileticks.h"
#include "app/ui/mainframe.h"
#include "core/controlids.h"
#include "picture/ui/picturewindow.h"
#include "support/recordinghost.h"
#include "support/recordingstarter.h"
#include "support/testenvironment.h"
#include "view/ui/albumview.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QSignalSpy>
#include <QSizeGrip>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

// The tick on which each thing happens, over a run of 60 ticks, with the exit request set
// before tick `exitFrom` (0: never).
struct TickCase {
    int exitFrom;
    QList<int> exitTicks;
};

QList<int> ticksWhere(int count, int exitFrom, bool SingleFileTicks::Step::*what)
{
    SingleFileTicks ticks;
    QList<int> found;
    for (int tick = 1; tick <= count; ++tick) {
        if (ticks.tick(exitFrom > 0 && tick >= exitFrom).*what)
            found.append(tick);
    }
    return found;
}

QList<int> range(int from, int to)
{
    QList<int> numbers;
    for (int i = from; i <= to; ++i)
        numbers.append(i);
    return numbers;
}

} // namespace

TEST(SingleFileTicks, HideOpenAndExitFollowTheCounter)
{
    // The window hides for the first 30 ticks and the item opens once, on tick 41.
    EXPECT_EQ(ticksWhere(60, 0, &SingleFileTicks::Step::hideFrame), range(1, 30));
    EXPECT_EQ(ticksWhere(60, 0, &SingleFileTicks::Step::openItem), QList<int> { 41 });
    // An exit request is acted on only from tick 31, and on every tick after it.
    const TickCase cases[] = { { 0, {} }, { 1, range(31, 60) }, { 45, range(45, 60) } };
    for (const TickCase &c : cases)
        EXPECT_EQ(ticksWhere(60, c.exitFrom, &SingleFileTicks::Step::postExit), c.exitTicks)
            << "exit requested from tick " << c.exitFrom;
    SingleFileTicks ticks;
    for (int i = 0; i < 60; ++i)
        ticks.tick(false);
    EXPECT_EQ(ticks.counter(), SingleFileTicks::kDone);
}

class SingleFileViewingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTestFolder(QStringLiteral("single"));
        frame = std::make_unique<CMainFrame>();
        viewing = new SingleFileViewing(*frame);
    }

    // Waits until the item has had its turn (tick 41 is about 1.2 s after the start).
    void waitForTheItem()
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return viewing->tickCounter() == SingleFileTicks::kDone; }, 10000));
    }

    RecordingHost host;
    RecordingStarter starter;
    QString folder;
    std::unique_ptr<CMainFrame> frame;
    SingleFileViewing *viewing = nullptr;
};

TEST_F(SingleFileViewingTest, PictureShowsInThePictureWindowAndTheCompactWindowFollows)
{
    const QString picture = makeTestPicture(folder, QStringLiteral("beach.jpg"));
    viewing->start(picture);
    EXPECT_TRUE(frame->document()->isEmbedded());
    ASSERT_EQ(frame->document()->itemCount(), 1);
    EXPECT_FALSE(frame->document()->isModified());
    waitForTheItem();

    ASSERT_TRUE(frame->pictureWindow());
    EXPECT_EQ(frame->pictureWindow()->windowTitle(), picture);
    EXPECT_TRUE(frame->pictureWindow()->isVisible());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->view()->current(), 0);
    EXPECT_TRUE(starter.opened.isEmpty());

    // Activating the hidden window brings the picture forward again.
    frame->show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(frame.get(), &activate);
    EXPECT_FALSE(frame->isVisible());

    // Closing the picture brings the compact window forward; the program does not end.
    QSignalSpy closed(frame.get(), &CMainFrame::closed);
    frame->pictureWindow()->close();
    EXPECT_TRUE(QTest::qWaitFor([this] { return frame->isVisible(); }, 5000));
    EXPECT_EQ(closed.count(), 0);
    EXPECT_FALSE(frame->albumList()->isEnabled());
    // No fixed minimum any more: only what the contents need.
    EXPECT_LT(frame->minimumSize().width(), 667);
    auto *bar = frame->findChild<QToolBar *>(QString::number(FrameControl::kToolBar));
    ASSERT_TRUE(bar);
    QStringList commands;
    for (const QAction *action : bar->actions())
        commands.append(action->objectName());
    EXPECT_EQ(commands, (QStringList { "57635", "57634", "57637" }));
    EXPECT_TRUE(frame->findChild<QSizeGrip *>(QString::number(FrameControl::kResizeBar)));
    // Nothing can put another album in place of the one on show.
    EXPECT_FALSE(frame->runCommand(57601));
    EXPECT_FALSE(frame->runCommand(32797));
    EXPECT_EQ(frame->document()->itemCount(), 1);
    saveScreenshotWhenAsked(*frame, QStringLiteral("single-file-compact.png"));
}

TEST_F(SingleFileViewingTest, OtherFilesGoToTheirApplicationAndTheProgramEnds)
{
    const QString sound = folder + QStringLiteral("/note.wav");
    writeFile(sound, QByteArray(64, '\0'));
    QSignalSpy closed(frame.get(), &CMainFrame::closed);
    viewing->start(sound);
    ASSERT_EQ(frame->document()->itemCount(), 1);
    waitForTheItem();
    EXPECT_EQ(starter.opened, QStringList { sound });
    EXPECT_TRUE(viewing->exitRequested());
    EXPECT_TRUE(QTest::qWaitFor([&closed] { return closed.count() == 1; }, 5000));
    EXPECT_FALSE(frame->pictureWindow());

    // An unsaved change the user keeps at the end: the program goes on, with the compact window.
    auto kept = std::make_unique<CMainFrame>();
    auto *keeping = new SingleFileViewing(*kept);
    keeping->start(sound);
    QString caption = QStringLiteral("kept");
    kept->document()->itemText(-1, caption, true);
    host.queueAnswer(MessageAnswer::Cancel);
    EXPECT_TRUE(QTest::qWaitFor([&kept] { return kept->isVisible(); }, 10000));
    EXPECT_FALSE(keeping->exitRequested());
}

TEST_F(SingleFileViewingTest, EmptyAlbumAsksForAFileAndDecliningShowsTheCompactWindow)
{
    // A file is asked for, starting in the photos folder, and shown.
    const QString picture = makeTestPicture(folder, QStringLiteral("chosen.jpg"));
    host.queueOpenFileNames({ picture });
    viewing->start(QString());
    waitForTheItem();
    ASSERT_EQ(host.openQuestions().size(), 1);
    EXPECT_FALSE(host.openQuestions().constFirst().multiple);
    ASSERT_TRUE(frame->pictureWindow());
    EXPECT_EQ(frame->pictureWindow()->windowTitle(), picture);
    EXPECT_FALSE(frame->document()->isModified());

    // A file that is not there is named, then one is asked for; declining leaves the empty
    // compact window on show rather than nothing at all.
    auto other = std::make_unique<CMainFrame>();
    auto *declined = new SingleFileViewing(*other);
    host.clear();
    host.queueOpenFileNames({});
    declined->start(folder + QStringLiteral("/not there.jpg"));
    EXPECT_EQ(host.messageIds(), QList<int> { 50106 });
    EXPECT_TRUE(QTest::qWaitFor([&other] { return other->isVisible(); }, 10000));
    EXPECT_EQ(other->document()->itemCount(), 0);
    EXPECT_FALSE(other->pictureWindow());
}

TEST_F(SingleFileViewingTest, StoredOneItemAlbumShowsItsItemAndAnUnreadablePictureEnds)
{
    // Albums of one item, as the clipboard's album stream holds them.
    const auto storeAlbum = [this](const QString &name) {
        const QString album = folder + u'/' + name + QStringLiteral(".gmx");
        CAlbumDoc stored;
        stored.onNewDocument();
        EXPECT_EQ(stored.addFile(makeTestPicture(folder, name + QStringLiteral(".jpg"))), 1);
        EXPECT_TRUE(stored.saveAs(album));
        return album;
    };
    const QString album = storeAlbum(QStringLiteral("stored"));
    viewing->start(album);
    EXPECT_EQ(frame->document()->pathName(), album);
    EXPECT_TRUE(frame->albumList()->findText(QStringLiteral("stored*")) < 0);
    waitForTheItem();
    ASSERT_TRUE(frame->pictureWindow());
    EXPECT_EQ(frame->pictureWindow()->windowTitle(), folder + QStringLiteral("/stored.jpg"));

    // The item's picture was damaged since: the image layer says why and the program ends.
    const QString damagedAlbum = storeAlbum(QStringLiteral("damaged"));
    writeFile(folder + QStringLiteral("/damaged.jpg"), QByteArray("\xff\xd8 not a picture"));
    auto other = std::make_unique<CMainFrame>();
    auto *broken = new SingleFileViewing(*other);
    QSignalSpy closed(other.get(), &CMainFrame::closed);
    broken->start(damagedAlbum);
    ASSERT_EQ(other->document()->itemCount(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&closed] { return closed.count() == 1; }, 10000));
    EXPECT_FALSE(other->pictureWindow());
    EXPECT_FALSE(host.shown().isEmpty());
}
