// Video capture without a camera: the frame-rate and preview rules, the driver list, the V4L2
// conversions and error paths, and clips recorded from the test pattern (with the sound of a fake
// sound card or of the pattern's tone) read back by ffprobe and ffmpeg.

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "media/capturedriver.h"
#include "media/capturesession.h"
#include "media/soundrecorder.h"
#include "media/testpatterndriver.h"
#include "media/v4l2driver.h"

#include "clipprobe.h"
#include "fakeaudio.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <linux/videodev2.h>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(CaptureRules, FrameRatesAndPreviewPlacement)
{
    EXPECT_EQ(framesPerSecondOf(66667), 15);
    EXPECT_EQ(microSecPerFrameOf(15), 66666);
    EXPECT_EQ(framesPerSecondOf(33333), 30);
    EXPECT_EQ(microSecPerFrameOf(0), 1000000); // an empty field is not a division by zero
    EXPECT_EQ(framesPerSecondOf(0), 0);

    const QRect area(5, 5, 320, 240);
    const PreviewPlacement small = placePreview({ 160, 120 }, area);
    EXPECT_FALSE(small.scaled);
    EXPECT_EQ(small.rect, QRect(85, 65, 160, 120));
    const PreviewPlacement large = placePreview({ 640, 480 }, area);
    EXPECT_TRUE(large.scaled);
    EXPECT_EQ(large.rect, area);
}

TEST(CaptureDrivers, ListKeepsThePlatformIndexOfEachEntry)
{
    const QList<CaptureDriverEntry> drivers
        = listCaptureDrivers([](int index) -> std::optional<CaptureDriverEntry> {
              if (index != 0 && index != 2 && index != 3)
                  return std::nullopt;
              return CaptureDriverEntry { -1, QStringLiteral("camera %1").arg(index), {} };
          });
    ASSERT_EQ(drivers.size(), 3);
    EXPECT_EQ(drivers[1].index, 2);
    EXPECT_EQ(drivers[1].name, QStringLiteral("camera 2"));

    // A machine without devices still offers the test pattern, after the device indices.
    const QList<CaptureDriverEntry> none = installedCaptureDrivers(makeTestFolder());
    ASSERT_EQ(none.size(), 1);
    EXPECT_EQ(none[0].index, kTestPatternIndex);
    EXPECT_EQ(none[0].name, QStringLiteral("Test pattern"));
    EXPECT_EQ(makeCaptureDriver(kTestPatternIndex)->frameSize(), QSize(640, 480));
    EXPECT_EQ(makeCaptureDriver(11), nullptr);
}

TEST(V4l2Driver, ConvertsFramesAndIntervals)
{
    struct Case {
        quint32 format;
        QByteArray bytes;
        QRgb first;
    };
    const Case cases[] = {
        { V4L2_PIX_FMT_RGB24, QByteArray("\x10\x20\x30\x00\x00\x00", 6), qRgb(0x10, 0x20, 0x30) },
        { V4L2_PIX_FMT_BGR24, QByteArray("\x10\x20\x30\x00\x00\x00", 6), qRgb(0x30, 0x20, 0x10) },
        // RGB565 white and black: 16-bit frames come out as full 8-bit levels.
        { V4L2_PIX_FMT_RGB565, QByteArray("\xFF\xFF\x00\x00", 4), qRgb(255, 255, 255) },
        // YUYV: Y 235 with neutral colour is white, Y 16 black.
        { V4L2_PIX_FMT_YUYV, QByteArray("\xEB\x80\x10\x80", 4), qRgb(255, 255, 255) },
    };
    for (const Case &c : cases) {
        QImage out;
        ASSERT_TRUE(convertFrame(reinterpret_cast<const uchar *>(c.bytes.constData()),
            size_t(c.bytes.size()), c.format, QSize(2, 1), 0, out))
            << c.format;
        EXPECT_EQ(out.format(), QImage::Format_RGB888);
        EXPECT_EQ(out.pixel(0, 0), c.first) << c.format;
        EXPECT_FALSE(convertFrame(reinterpret_cast<const uchar *>(c.bytes.constData()),
            size_t(c.bytes.size() - 1), c.format, QSize(2, 1), 0, out))
            << "a short frame is refused";
    }
    EXPECT_EQ(
        choosePixelFormat({ V4L2_PIX_FMT_MJPEG, V4L2_PIX_FMT_YUYV }), quint32(V4L2_PIX_FMT_YUYV));
    EXPECT_EQ(choosePixelFormat({ V4L2_PIX_FMT_H264 }), 0u);

    EXPECT_EQ(microSecondsOfFraction(1, 30), 33333);
    EXPECT_EQ(microSecondsOfFraction(1001, 30000), 33367);
    EXPECT_EQ(microSecondsOfFraction(1, 0), 0);
    EXPECT_EQ(fractionOfMicroSeconds(66666), std::make_pair(33333u, 500000u));
    EXPECT_EQ(fractionOfMicroSeconds(40000), std::make_pair(1u, 25u));
}

TEST(V4l2Driver, MissingAndWrongDevicesAreRefusedWithAReason)
{
    EXPECT_FALSE(V4l2Driver::describe(QStringLiteral("/nonexistent/video0"), 0));
    EXPECT_FALSE(V4l2Driver::describe(QStringLiteral("/dev/null"), 0)); // not a capture device
    V4l2Driver gone(QStringLiteral("/nonexistent/video0"));
    QString error;
    EXPECT_FALSE(gone.connect(error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent/video0"))) << qPrintable(error);
    QImage frame;
    EXPECT_FALSE(gone.readFrame(frame, error));
}

TEST(ClipCapture, TestPatternClipHasItsSizeRateAndFramesAndJoinsTheAlbum)
{
    TestPatternDriver driver;
    QString error;
    ASSERT_TRUE(driver.connect(error));
    ASSERT_TRUE(driver.setFrameSize({ 320, 240 }, error));
    ASSERT_TRUE(driver.setMicroSecPerFrame(microSecPerFrameOf(15)));
    const QString path = makeTestFolder() + QStringLiteral("/clip.avi");
    CaptureSetup setup;
    setup.captureAudio = true;
    setup.videoBuffers = 32;
    const ClipStats stats = recordClip(driver, path, setup, 2.0);
    ASSERT_TRUE(stats.ok) << qPrintable(stats.detail);
    const Probe read = probe(path);
    EXPECT_EQ(read.width, 320);
    EXPECT_EQ(read.height, 240);
    EXPECT_EQ(read.rate, QStringLiteral("500000/33333"));
    // The clip covers two seconds of frame times; a frame time the loaded machine missed is a
    // dropped frame, counted, not a shorter clip.
    EXPECT_EQ(read.frames, stats.framesWritten);
    EXPECT_NEAR(stats.lastNumber + 1, 30, 1);
    EXPECT_EQ(stats.framesWritten + stats.framesDropped, stats.lastNumber + 1);
    EXPECT_GT(stats.framesWritten, 15);

    CAlbumDoc album;
    ASSERT_EQ(album.addFile(path), 1);
    const AlbumItem *item = album.item(0);
    ASSERT_NE(item, nullptr);
    const QImage thumbnail = thumbnailBlockImage(item->thumbnail());
    EXPECT_EQ(thumbnail.width(), 80); // the first frame, shrunk
    EXPECT_EQ(thumbnail.height(), 60);
}

TEST(ClipCapture, SoundOfTheChosenFormatRunsAlongTheFrames)
{
    struct Case {
        bool soundCard; // else the test pattern's own tone
        WaveFormat format;
        const char *codec;
    };
    const Case cases[] = {
        { true, WaveFormat::pcm(11025, 8, 2), "pcm_u8" },
        { true, WaveFormat::pcm(44100, 16, 1), "pcm_s16le" },
        { false, WaveFormat::pcm(8000, 8, 1), "pcm_u8" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(formatDescription(c.format).toStdString());
        FakeAudioBackend backend;
        backend.input = c.soundCard;
        backend.liveInput = true;
        TestPatternDriver driver;
        QString error;
        ASSERT_TRUE(driver.connect(error));
        ASSERT_TRUE(driver.setFrameSize({ 160, 120 }, error));
        ASSERT_TRUE(driver.setMicroSecPerFrame(microSecPerFrameOf(15)));
        CaptureSetup setup;
        setup.captureAudio = true;
        setup.audioFormat = c.format;
        setup.videoBuffers = 32;
        const QString path = makeTestFolder() + QStringLiteral("/sound.avi");
        const ClipStats stats = recordClip(driver, path, setup, 1.5);
        ASSERT_TRUE(stats.ok) << qPrintable(stats.detail);
        if (c.soundCard) {
            EXPECT_EQ(backend.openedFormat, c.format) << "the sound card records the chosen format";
        }

        const SoundTrack track = soundTrack(path);
        EXPECT_EQ(track.codec, QString::fromLatin1(c.codec));
        EXPECT_EQ(track.rate, int(c.format.samplesPerSec));
        EXPECT_EQ(track.channels, int(c.format.channels));
        // Exactly as long as the frames' time, whatever a loaded machine made of it.
        const qint64 frameTimes = stats.lastNumber + 1;
        EXPECT_EQ(track.data.size(),
            frameTimes * 66666 * qint64(c.format.samplesPerSec) / 1000000 * c.format.blockAlign);
        // Sound and frames take turns through the file, so a player never waits for one.
        EXPECT_LE(longestVideoRun(track.packetIsSound), 2);
        EXPECT_GE(track.packetIsSound.count(true), stats.framesWritten - 1);
        if (c.soundCard) {
            // The card's bytes count up: the track is one unbroken piece of its sound, apart from
            // the silence that may end it.
            qsizetype unbroken = 1;
            while (unbroken < track.data.size()
                && char(track.data[unbroken - 1] + 1) == track.data[unbroken])
                ++unbroken;
            EXPECT_GT(unbroken, track.data.size() * 9 / 10);
            const char silence = c.format.bitsPerSample == 8 ? char(0x80) : char(0);
            EXPECT_EQ(track.data.mid(unbroken).count(silence), track.data.size() - unbroken);
        }
    }
}

TEST(ClipCapture, DeviceLossAndFullDiskEndTheClipWithAReason)
{
    TestPatternDriver driver;
    QString error;
    ASSERT_TRUE(driver.connect(error));
    ASSERT_TRUE(driver.setFrameSize({ 160, 120 }, error));
    ASSERT_TRUE(driver.setMicroSecPerFrame(microSecPerFrameOf(30)));
    driver.failAfter(10);
    const QString path = makeTestFolder() + QStringLiteral("/cut.avi");
    CaptureSetup setup;
    setup.videoBuffers = 32;
    const ClipStats cut = recordClip(driver, path, setup, 5.0);
    EXPECT_FALSE(cut.ok);
    EXPECT_TRUE(cut.detail.contains(QStringLiteral("no longer available")));
    EXPECT_GT(cut.framesWritten, 0);
    EXPECT_LE(cut.framesWritten, 10);
    EXPECT_EQ(probe(path).frames, cut.framesWritten)
        << "the frames before the loss make a whole clip";

    ASSERT_TRUE(driver.connect(error));
    const ClipStats full = recordClip(driver, QStringLiteral("/dev/full"), {}, 1.0);
    EXPECT_FALSE(full.ok);
    EXPECT_FALSE(full.detail.isEmpty());

    const ClipStats nowhere
        = recordClip(driver, makeTestFolder() + QStringLiteral("/no/such/clip.avi"), {}, 1.0);
    EXPECT_FALSE(nowhere.ok);
    EXPECT_TRUE(nowhere.detail.contains(QStringLiteral("could not be created")));
}

TEST(ClipCapture, LoopbackDeviceCapturesLikeACamera)
{
    if (!QFile::exists(QStringLiteral("/sys/module/v4l2loopback")))
        GTEST_SKIP() << "the v4l2loopback module is not loaded (and cannot be loaded in this "
                        "container), so there is no Video4Linux2 device to feed";
    const QList<CaptureDriverEntry> drivers = installedCaptureDrivers();
    ASSERT_GT(drivers.size(), 1) << "v4l2loopback is loaded but gives no capture device";
    const int index = drivers.first().index;
    QProcess feeder;
    feeder.start(QStringLiteral("ffmpeg"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-re"),
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc=size=320x240:rate=15"), QStringLiteral("-t"),
            QStringLiteral("6"), QStringLiteral("-pix_fmt"), QStringLiteral("yuyv422"),
            QStringLiteral("-f"), QStringLiteral("v4l2"),
            QStringLiteral("/dev/video%1").arg(index) });
    ASSERT_TRUE(feeder.waitForStarted(5000));
    std::unique_ptr<CaptureDriver> driver = makeCaptureDriver(index);
    QString error;
    bool connected = false;
    for (int attempt = 0; attempt < 50 && !connected; ++attempt) {
        connected = driver->connect(error);
        if (!connected)
            QThread::msleep(100);
    }
    ASSERT_TRUE(connected) << qPrintable(error);
    const QString path = makeTestFolder() + QStringLiteral("/camera.avi");
    const ClipStats stats = recordClip(*driver, path, {}, 2.0);
    driver->disconnect();
    feeder.kill();
    feeder.waitForFinished();
    ASSERT_TRUE(stats.ok) << qPrintable(stats.detail);
    EXPECT_EQ(probe(path).width, 320);
}

} // namespace
