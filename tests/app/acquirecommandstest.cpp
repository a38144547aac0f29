// The main window's acquisition commands driven through the window, offscreen: Video Capture
// with the test pattern (the machine's cameras kept out by an empty device folder), and Select
// Scanner Source and Acquire from Scanner with SANE's `test` backend as the scanner.

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "app/ui/mainframe.h"
#include "core/appsettings.h"
#include "core/commandids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "imaging/dib.h"
#include "imaging/picturetypes.h"
#include "media/capturedriver.h"
#include "media/ui/clipplayerwindow.h"
#include "media/ui/scandialog.h"
#include "media/ui/videocapturedialog.h"
#include "picture/ui/picturewindow.h"
#include "platform/strings.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QInputDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace glimmerix;

namespace
{

// Runs `act` on the first modal `Dialog` to open within ten seconds; several may wait at once,
// each for its own kind of dialog.
template<typename Dialog> void whenOpen(std::function<void(Dialog *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act, deadline = QDeadlineTimer(10000)] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        ASSERT_NE(dialog, nullptr) << "the dialog did not open";
        act(dialog);
    });
    poll->start();
}

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

class AcquireCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Clips play through Qt Multimedia's FFmpeg backend, as in the program.
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
        QDir().mkpath(albumsFolder());
        setCaptureDeviceFolder(makeTestFolder(QStringLiteral("dev")));
        const QString sane = makeTestFolder(QStringLiteral("sane"));
        writeFile(sane + QStringLiteral("/dll.conf"), "test\n");
        writeFile(sane + QStringLiteral("/test.conf"), "number_of_devices 2\n");
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(sane));
        frame = std::make_unique<CMainFrame>();
        frame->SelectAlbumByName(QStringLiteral("NEW"));
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame.reset();
        setCaptureDeviceFolder(QStringLiteral("/dev"));
    }

    CAlbumDoc &document() const { return *frame->document(); }

    RecordingHost host;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(AcquireCommands, VideoCaptureRecordsPlaysAndSavesIntoTheAlbum)
{
    const QString clip = makeTestFolder(QStringLiteral("clips")) + QStringLiteral("/trip.avi");
    QString captureFile;
    whenOpen<VideoCaptureDialog>([&](VideoCaptureDialog *dialog) {
        captureFile = dialog->captureFile();
        EXPECT_EQ(dialog->connectedIndex(), kTestPatternIndex) << "the only driver here";
        EXPECT_TRUE(captureFile.startsWith(Folders().videoFolder()));
        dialog->findChild<QSpinBox *>(QStringLiteral("framesPerSecond"))->setValue(30);
        button(dialog, "capture")->click();
        QTest::qWait(400);
        button(dialog, "capture")->click();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return button(dialog, "playClip")->isEnabled(); }, 10000));

        // Play Clip: a window over the preview, titled with text 50340, showing the clip.
        button(dialog, "playClip")->click();
        auto *player = dialog->findChild<ClipPlayerWindow *>();
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(player->windowTitle(), loadString(Message::kCapturedClipTitle));
        EXPECT_TRUE(player->isVisible());

        host.queueSaveFileName(clip);
        button(dialog, "saveClip")->click();
        button(dialog, "grabStill")->click();
        button(dialog, "stillToPicture")->click();
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kVideoCapture));
    ASSERT_EQ(document().itemCount(), 1);
    EXPECT_EQ(document().item(0)->path(), clip);
    EXPECT_TRUE(document().isModified());
    ASSERT_NE(frame->pictureWindow(), nullptr) << "the still opened as a new picture";
    EXPECT_FALSE(captureFile.isEmpty());
    EXPECT_FALSE(QFile::exists(captureFile)) << "closing removes the temporary clip";
}

TEST_F(AcquireCommands, SelectSourceRemembersTheChosenScanner)
{
    QStringList offered;
    whenOpen<QInputDialog>([&offered](QInputDialog *dialog) {
        offered = dialog->comboBoxItems();
        ASSERT_EQ(offered.size(), 2);
        dialog->setTextValue(offered[1]);
        dialog->accept();
    });
    ASSERT_TRUE(frame->runCommand(Command::kQueryDefaultSource));
    ASSERT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered[1].endsWith(QStringLiteral("(test:1)"))) << qPrintable(offered[1]);
    EXPECT_EQ(appSettings().acquireSettings().source, QStringLiteral("test:1"));
    EXPECT_EQ(document().itemCount(), 0) << "choosing a source scans nothing";
}

TEST_F(AcquireCommands, AcquireScansIntoTheAlbumUntilTheScanDialogCloses)
{
    AcquireSettings settings = appSettings().acquireSettings();
    settings.source = QStringLiteral("test:1");
    settings.path = makeTestFolder(QStringLiteral("PHOTOS"));
    settings.fileType = 0; // bitmaps keep size and depth as scanned
    settings.custPrefix = 1;
    settings.filePrefix = QStringLiteral("scan");
    ASSERT_TRUE(appSettings().setAcquireSettings(settings));

    whenOpen<QInputDialog>([](QInputDialog *dialog) {
        EXPECT_TRUE(dialog->textValue().endsWith(QStringLiteral("(test:1)")))
            << "the remembered source comes first";
        dialog->accept();
    });
    whenOpen<ScanDialog>([](ScanDialog *dialog) {
        dialog->findChild<QComboBox *>(QStringLiteral("resolution"))
            ->setCurrentText(QStringLiteral("75"));
        dialog->findChild<QDoubleSpinBox *>(QStringLiteral("br-x"))->setValue(40);
        dialog->findChild<QDoubleSpinBox *>(QStringLiteral("br-y"))->setValue(30);
        button(dialog, "scan")->click();
        button(dialog, "scan")->click(); // the source stays open for a second picture
        button(dialog, "close")->click();
    });
    ASSERT_TRUE(frame->runCommand(Command::kSelectSourceAndAcquire));
    ASSERT_EQ(document().itemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString path = document().item(i)->path();
        EXPECT_TRUE(path.startsWith(settings.path + QStringLiteral("/scan"))) << qPrintable(path);
        const DecodeResult read = loadPicture(path);
        ASSERT_EQ(read.status, DecodeStatus::Ok) << qPrintable(read.detail);
        EXPECT_EQ(dibHeader(read.block)->biWidth, 118); // 40 mm at 75 dpi
        blockFree(read.block);
    }
    EXPECT_NE(document().item(0)->path(), document().item(1)->path());
    EXPECT_TRUE(host.messageIds().isEmpty());
}

} // namespace
