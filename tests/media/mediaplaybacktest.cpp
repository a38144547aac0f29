// Clips and sounds of today open in the program's own windows and play there.

#include "media/ui/mediaplayback.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMediaPlayer>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QWidget *topLevelNamed(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

// Every container FFmpeg writes here plays in the clip window, which shows its frames; sounds
// play in the sound window; the album's own clip and sound names, pictures and other files are
// left to the caller (the desktop's program), untouched.
TEST(MediaPlayback, ClipsAndSoundsOfTodayPlayInTheirWindows)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed: no clips to play";
    // As the program does: Qt Multimedia plays through FFmpeg.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    const QString folder = makeTestFolder(QStringLiteral("play"));
    const QString video = QStringLiteral("testsrc=size=160x120:rate=10:duration=0.5");
    const QString tone = QStringLiteral("sine=frequency=440:duration=0.5");
    const struct {
        const char *name;
        QString source; // ffmpeg's lavfi input
        QStringList codec;
        bool turn; // given a display rotation of 90 degrees: the window shows it upright
        const char *window; // the object name of the window that plays it; empty: none
    } cases[] = {
        { "phone.mp4", video, { QStringLiteral("-c:v"), QStringLiteral("libx264") }, true,
            "clipPlayer" },
        { "film.mkv", video, { QStringLiteral("-c:v"), QStringLiteral("libx264") }, false,
            "clipPlayer" },
        { "web.webm", video, { QStringLiteral("-c:v"), QStringLiteral("libvpx-vp9") }, false,
            "clipPlayer" },
        { "old.3gp", video,
            { QStringLiteral("-c:v"), QStringLiteral("h263"), QStringLiteral("-s"),
                QStringLiteral("176x144") },
            false, "clipPlayer" },
        { "camera.mts", video, { QStringLiteral("-c:v"), QStringLiteral("mpeg2video") }, false,
            "clipPlayer" },
        { "song.ogg", tone, { QStringLiteral("-c:a"), QStringLiteral("libvorbis") }, false,
            "soundPlayer" },
        { "song.flac", tone, { QStringLiteral("-c:a"), QStringLiteral("flac") }, false,
            "soundPlayer" },
        { "album.avi", video, { QStringLiteral("-c:v"), QStringLiteral("mjpeg") }, false, "" },
        { "album.mp3", tone, { QStringLiteral("-c:a"), QStringLiteral("libmp3lame") }, false, "" },
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        const QString path = folder + u'/' + QString::fromLatin1(test.name);
        ASSERT_EQ(
            runProgram(QStringLiteral("ffmpeg"),
                QStringList { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"),
                    QStringLiteral("lavfi"), QStringLiteral("-i"), test.source }
                    + test.codec + QStringList { path })
                .status,
            0);
        // FFmpeg 5.1 sets a display rotation when it copies a stream with a "rotate" tag.
        if (test.turn) {
            const QString stored = path + QStringLiteral(".stored.mp4");
            ASSERT_TRUE(QFile::rename(path, stored));
            ASSERT_EQ(runProgram(QStringLiteral("ffmpeg"),
                          { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"),
                              stored, QStringLiteral("-c"), QStringLiteral("copy"),
                              QStringLiteral("-metadata:s:v"), QStringLiteral("rotate=90"), path })
                          .status,
                0);
        }
        const QString window = QString::fromLatin1(test.window);
        ASSERT_EQ(playInMediaWindow(path, nullptr), !window.isEmpty());
        if (window.isEmpty())
            continue;
        QWidget *player = topLevelNamed(window);
        ASSERT_NE(player, nullptr);
        auto *media = player->findChild<QMediaPlayer *>();
        ASSERT_NE(media, nullptr);
        EXPECT_EQ(media->source().toLocalFile(), path);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return media->playbackState() == QMediaPlayer::PlayingState
                    || media->mediaStatus() == QMediaPlayer::EndOfMedia;
            },
            10000))
            << "never played";
        EXPECT_EQ(media->error(), QMediaPlayer::NoError) << qPrintable(media->errorString());
        if (window == QLatin1String("clipPlayer")) {
            auto *picture = player->findChild<QLabel *>();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !picture->pixmap().isNull(); }, 10000))
                << "no frame shown";
            const QSize shown = picture->pixmap().size();
            EXPECT_EQ(shown.width() < shown.height(), test.turn)
                << shown.width() << "x" << shown.height();
            player->close(); // the clip window deletes itself
        } else {
            player->hide();
        }
    }
}
