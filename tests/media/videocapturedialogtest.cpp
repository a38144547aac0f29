// The capture dialog driven by test-pattern drivers: the driver list connects the index an entry
// stands for, a capture ends in a clip that is saved into the album, a still is grabbed, saved
// and opened, the sound format chosen is the clip's, and closing removes the temporary files.

#include "media/ui/videocapturedialog.h"
#include "core/messageids.h"
#include "imaging/dib.h"
#include "imaging/picturetypes.h"
#include "media/capturesession.h"
#include "media/soundrecorder.h"
#include "media/testpatterndriver.h"
#include "media/ui/capturepreview.h"
#include "media/ui/clipplayerwindow.h"

#include "clipprobe.h"
#include "fakeaudio.h"

#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMediaPlayer>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace glimmerix;

namespace
{

QPushButton *button(VideoCaptureDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

// Waits until `count` more frames reach the window. Ending a capture after a fixed time would
// record nothing on a busy machine that is slow to start the capture loop.
bool waitForFrames(VideoCaptureDialog &dialog, int count)
{
    int seen = 0;
    const QMetaObject::Connection counting = QObject::connect(
        dialog.session(), &CaptureSession::frameReady, &dialog, [&seen] { ++seen; });
    const bool enough = QTest::qWaitFor([&seen, count] { return seen >= count; }, 10000);
    QObject::disconnect(counting);
    return enough;
}

struct Fixture {
    QString video = makeTestFolder(QStringLiteral("VIDEO"));
    QString photos = makeTestFolder(QStringLiteral("PHOTOS"));
    QList<int> made;
    VideoCaptureDialog::Drivers drivers()
    {
        return { { { 0, QStringLiteral("first"), {} }, { 2, QStringLiteral("second"), {} },
                     { 3, QStringLiteral("third"), {} } },
            [this](int index) {
                made.append(index);
                auto driver = std::make_unique<TestPatternDriver>();
                QString ignored;
                driver->setFrameSize(index == 2 ? QSize(160, 120) : QSize(640, 480), ignored);
                return driver;
            } };
    }
};

TEST(VideoCaptureDialog, DriverListConnectsTheIndexOfTheChosenEntry)
{
    RecordingHost host;
    Fixture fixture;
    VideoCaptureDialog dialog(fixture.video, fixture.photos, fixture.drivers());
    dialog.resize(700, 400);
    dialog.show();
    EXPECT_EQ(dialog.connectedIndex(), 0);
    EXPECT_EQ(dialog.findChild<QComboBox *>(QStringLiteral("driverList"))->count(), 3);
    EXPECT_EQ(dialog.findChild<QSpinBox *>(QStringLiteral("framesPerSecond"))->value(), 15);
    EXPECT_FALSE(button(dialog, "saveClip")->isEnabled());
    EXPECT_FALSE(button(dialog, "saveStill")->isEnabled());
    EXPECT_FALSE(button(dialog, "videoDisplay")->isEnabled());

    dialog.connectDriver(1);
    EXPECT_EQ(dialog.connectedIndex(), 2);
    EXPECT_EQ(fixture.made, (QList<int> { 0, 2 }));
    // 160 x 120 fits the preview: shown at its own size, centred.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.preview()->pictureRect().width() == 160; }));
    EXPECT_FALSE(dialog.preview()->isScaled());
    EXPECT_LE((dialog.preview()->pictureRect().center() - dialog.preview()->rect().center())
                  .manhattanLength(),
        2);
    const QString shots = qEnvironmentVariable("GLIMMERIX_SCREENSHOTS");
    if (!shots.isEmpty()) {
        dialog.connectDriver(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.preview()->isScaled(); }));
        QTest::qWait(300);
        dialog.grab().save(shots + QStringLiteral("/video-capture.png"));
    }
}

TEST(VideoCaptureDialog, CapturesAClipAndAStillIntoTheAlbum)
{
    RecordingHost host;
    Fixture fixture;
    VideoCaptureDialog dialog(fixture.video, fixture.photos, fixture.drivers());
    QStringList added;
    dialog.setAddToAlbum([&added](const QString &path) {
        added.append(path);
        return 1;
    });
    BlockHandle opened = 0;
    dialog.setOpenPicture([&opened](BlockHandle still) { opened = still; });
    dialog.show();
    dialog.findChild<QSpinBox *>(QStringLiteral("framesPerSecond"))->setValue(30);

    button(dialog, "capture")->click();
    EXPECT_TRUE(dialog.session()->isCapturing());
    EXPECT_FALSE(dialog.findChild<QComboBox *>(QStringLiteral("driverList"))->isEnabled());
    ASSERT_TRUE(waitForFrames(dialog, 5));
    button(dialog, "capture")->click(); // now "End Capture"
    ASSERT_TRUE(QTest::qWaitFor([&] { return button(dialog, "saveClip")->isEnabled(); }, 10000));
    EXPECT_TRUE(host.messageIds().contains(Message::kClipCaptured));
    EXPECT_TRUE(QFile::exists(dialog.finishedClip()));

    const QString clip = fixture.video + QStringLiteral("/mine.avi");
    writeFile(clip, "an older file of that name");
    host.queueSaveFileName(fixture.video + QStringLiteral("/mine"));
    dialog.saveClip();
    EXPECT_EQ(added, QStringList { clip });
    EXPECT_GT(QFile(clip).size(), 1000) << "the older file is replaced by the clip";
    EXPECT_FALSE(QFile::exists(dialog.finishedClip()));
    EXPECT_FALSE(button(dialog, "saveClip")->isEnabled());

    dialog.grabStill();
    ASSERT_TRUE(isBlockHandle(dialog.still()));
    const BITMAPINFOHEADER *header = dibHeader(dialog.still());
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biWidth, 640);
    const QString still = fixture.photos + QStringLiteral("/still.bmp");
    host.queueSaveFileName(still);
    dialog.saveStill();
    EXPECT_EQ(added.last(), still);
    const DecodeResult read = loadPicture(still);
    ASSERT_EQ(read.status, DecodeStatus::Ok);
    EXPECT_EQ(dibHeader(read.block)->biHeight, 480);
    blockFree(read.block);

    // A still that cannot be written: message 50336, nothing added.
    host.queueSaveFileName(QStringLiteral("/dev/full/still.bmp"));
    dialog.saveStill();
    EXPECT_EQ(host.messageIds().last(), Message::kStillNotSaved);
    EXPECT_EQ(added.size(), 2);

    dialog.stillToNewPicture();
    ASSERT_TRUE(isBlockHandle(opened));
    EXPECT_NE(opened, dialog.still()) << "the picture window gets its own copy";
    blockFree(opened);

    dialog.accept();
    EXPECT_FALSE(QFile::exists(dialog.captureFile()));
    EXPECT_FALSE(QFile::exists(dialog.finishedClip()));
}

TEST(VideoCaptureDialog, AudioFormatDialogChoosesTheFormatOfTheClipsSound)
{
    RecordingHost host;
    Fixture fixture;
    FakeAudioBackend backend;
    backend.liveInput = true;
    VideoCaptureDialog dialog(fixture.video, fixture.photos, fixture.drivers());
    dialog.show();
    auto *text = dialog.findChild<QLabel *>(QStringLiteral("audioText"));
    ASSERT_TRUE(button(dialog, "audioFormat")->isEnabled());
    EXPECT_TRUE(text->text().endsWith(formatDescription(WaveFormat::pcm(22050, 16, 1))));

    // The chooser offers the sound card's formats; the choice is shown and used.
    const WaveFormat wanted = WaveFormat::pcm(11025, 8, 2);
    const qsizetype offered = backend.capabilities.formats().indexOf(wanted);
    ASSERT_GE(offered, 0);
    QTimer::singleShot(0, [offered] {
        QWidget *chooser = QApplication::activeModalWidget();
        ASSERT_NE(chooser, nullptr);
        auto *formats = chooser->findChild<QComboBox *>(QStringLiteral("formats"));
        ASSERT_NE(formats, nullptr);
        formats->setCurrentIndex(int(offered));
        qobject_cast<QDialog *>(chooser)->accept();
    });
    button(dialog, "audioFormat")->click();
    EXPECT_EQ(dialog.setup().audioFormat, wanted);
    EXPECT_TRUE(text->text().endsWith(formatDescription(wanted))) << qPrintable(text->text());

    dialog.findChild<QCheckBox *>(QStringLiteral("captureAudio"))->setChecked(true);
    button(dialog, "capture")->click();
    EXPECT_FALSE(button(dialog, "audioFormat")->isEnabled()) << "not while capturing";
    ASSERT_TRUE(waitForFrames(dialog, 10));
    button(dialog, "capture")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button(dialog, "saveClip")->isEnabled(); }, 10000));
    EXPECT_EQ(backend.openedFormat, wanted);
    const SoundTrack track = soundTrack(dialog.finishedClip());
    EXPECT_EQ(track.codec, QStringLiteral("pcm_u8"));
    EXPECT_EQ(track.rate, 11025);
    EXPECT_EQ(track.channels, 2);
    EXPECT_GT(track.data.size(), 11025 * 2 / 4) << "at least a quarter second of sound";

    // Without a sound card the test pattern's tone stands in, in the format chosen.
    backend.input = false;
    dialog.connectDriver(1);
    EXPECT_TRUE(button(dialog, "audioFormat")->isEnabled());
    EXPECT_TRUE(text->text().endsWith(formatDescription(wanted)));
    dialog.accept();
}

// The sound recorder and the capture window add ".wav", ".avi" or ".bmp" to a name typed without
// one: the file that would be replaced then is asked about (50314), and No keeps it. Their
// temporary files are their own, so two windows in one folder never share one.
TEST(RecorderAndCaptureSaving, AskAboutTheFileReallyWrittenAndKeepPrivateTemporaryFiles)
{
    RecordingHost host;
    FakeAudioBackend backend;
    Fixture fixture;
    SoundRecorder recorder(fixture.video);
    ASSERT_TRUE(recorder.setUp());
    ASSERT_TRUE(recorder.record());
    backend.capture(QByteArray(11025, char(0x80)));
    recorder.stop();
    SoundRecorder otherRecorder(fixture.video);
    ASSERT_TRUE(otherRecorder.setUp());
    ASSERT_TRUE(otherRecorder.record());
    otherRecorder.stop();

    VideoCaptureDialog dialog(fixture.video, fixture.photos, fixture.drivers());
    VideoCaptureDialog otherDialog(fixture.video, fixture.photos, fixture.drivers());
    dialog.show();
    button(dialog, "capture")->click();
    ASSERT_TRUE(waitForFrames(dialog, 3));
    button(dialog, "capture")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button(dialog, "saveClip")->isEnabled(); }, 10000));
    dialog.grabStill();
    ASSERT_TRUE(isBlockHandle(dialog.still()));

    const QStringList temporary { recorder.temporaryPath(), otherRecorder.temporaryPath(),
        dialog.captureFile(), otherDialog.captureFile(), dialog.finishedClip() };
    for (const QString &file : temporary) {
        EXPECT_TRUE(QFile::exists(file)) << qPrintable(file);
        EXPECT_EQ(QFileInfo(file).absolutePath(), fixture.video);
        EXPECT_FALSE(file.endsWith("/audio.tmp") || file.endsWith("/capture.tmp")
            || file.endsWith("/saveas.tmp"))
            << "a fixed name another window would share: " << qPrintable(file);
    }
    EXPECT_EQ(QSet<QString>(temporary.begin(), temporary.end()).size(), temporary.size());

    struct Row {
        const char *name;
        QString typed; // without an extension
        QString written; // what the save writes
        std::function<void()> save;
        std::function<bool()> stillToSave;
    };
    const Row rows[] = {
        { "recorder", fixture.video + "/hello", fixture.video + "/hello.wav",
            [&] { recorder.saveAs(); }, [&] { return recorder.buttons().save; } },
        { "clip", fixture.video + "/mine", fixture.video + "/mine.avi", [&] { dialog.saveClip(); },
            [&] { return button(dialog, "saveClip")->isEnabled(); } },
        { "still", fixture.photos + "/pic", fixture.photos + "/pic.bmp",
            [&] { dialog.saveStill(); }, [] { return true; } },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(row.written, "an older file of that name");
        host.clear();
        host.queueSaveFileName(row.typed);
        host.queueAnswer(MessageAnswer::No);
        row.save();
        ASSERT_EQ(host.messageIds(), QList<int> { Message::kReplaceQuestion });
        EXPECT_TRUE(host.shown().first().text.contains(row.written));
        EXPECT_EQ(fileBytes(row.written), "an older file of that name");
        EXPECT_TRUE(row.stillToSave()) << "declining keeps what there is to save";

        host.clear();
        host.queueSaveFileName(row.typed);
        host.queueAnswer(MessageAnswer::Yes);
        row.save();
        EXPECT_EQ(host.messageIds(), QList<int> { Message::kReplaceQuestion });
        EXPECT_GT(QFileInfo(row.written).size(), 100) << "replaced once the user says so";
    }
    dialog.accept();
    otherDialog.accept();
    EXPECT_TRUE(recorder.close());
    host.queueAnswer(MessageAnswer::Cancel); // drops the other, empty recording
    EXPECT_TRUE(otherRecorder.close());
    for (const QString &file : temporary)
        EXPECT_FALSE(QFile::exists(file)) << qPrintable(file);
}

TEST(ClipPlayerWindow, PlaysTheClipToItsEndOrSaysWhyNot)
{
    // The program plays clips through Qt Multimedia's FFmpeg backend.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    TestPatternDriver driver;
    QString error;
    ASSERT_TRUE(driver.connect(error));
    ASSERT_TRUE(driver.setFrameSize({ 160, 120 }, error));
    driver.setUnpaced(true);
    const QString folder = makeTestFolder();
    const QString clip = folder + QStringLiteral("/clip.avi");
    CaptureSetup setup;
    setup.microSecPerFrame = microSecPerFrameOf(15);
    setup.videoBuffers = 32;
    ASSERT_TRUE(driver.setMicroSecPerFrame(setup.microSecPerFrame));
    ASSERT_TRUE(recordClip(driver, clip, setup, 1.0).ok);

    ClipPlayerWindow player(clip, QStringLiteral("Captured"), nullptr);
    player.show();
    auto *picture = player.findChild<QLabel *>();
    auto *media = player.findChild<QMediaPlayer *>();
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(media, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picture->pixmap().isNull(); }, 10000))
        << "no frame shown";
    EXPECT_EQ(picture->pixmap().size(), QSize(160, 120));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return media->mediaStatus() == QMediaPlayer::EndOfMedia; }, 10000));
    EXPECT_EQ(media->playbackState(), QMediaPlayer::StoppedState) << "played once";
    EXPECT_FALSE(picture->pixmap().isNull()) << "the last frame stays";

    const QString broken = folder + QStringLiteral("/broken.avi");
    writeFile(broken, "RIFF and nothing else");
    ClipPlayerWindow refused(broken, QStringLiteral("Captured"), nullptr);
    refused.show();
    auto *message = refused.findChild<QLabel *>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !message->text().isEmpty(); }, 10000))
        << "a clip that cannot be played says so";
}

} // namespace
