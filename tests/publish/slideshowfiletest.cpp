// The show file "slide.sld": its layout for the cases that fix it, sound lengths and the AutoRun
// lines of a slide show disc, and the reader over files that are not what they claim.

#include "publishtesthelpers.h"

#include "media/waveformat.h"
#include "media/wavewriter.h"
#include "publish/autorunwriter.h"
#include "publish/slideshowfile.h"
#include "publish/slideshowpackage.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

std::uint32_t u32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

ShowEntry entry(const QString &picture, int thumbBytes, const QString &sound = {})
{
    ShowEntry e;
    e.pictureName = picture;
    e.notes = QStringLiteral("notes of ") + picture;
    e.soundName = sound;
    e.soundSeconds = sound.isEmpty() ? 0 : 4;
    e.width = 640;
    e.height = 480;
    e.bitsPerPixel = 24;
    e.thumbnail = QByteArray(thumbBytes, char(thumbBytes % 251));
    return e;
}

// A PCM WAVE file of `seconds` at 8000 bytes a second.
QString waveOf(const QString &folder, const QString &name, double seconds)
{
    const QString path = folder + u'/' + name;
    QByteArray data(int(seconds * 8000), '\x80');
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(writeWaveFile(path, WaveFormat::pcm(8000, 8, 1).toBlock(18), buffer, data.size()));
    return path;
}

TEST(SlideShowFile, LayoutSoundLengthsAndAutoRunLines)
{
    SlideShowFile three;
    three.title = QStringLiteral("Summer");
    three.sound = ShowSound::PictureSounds;
    three.entries = { entry("a.JPG", 7240, "a.wav"), entry("b.JPG", 7240), entry("c.JPG", 5440) };
    SlideShowFile silent = three;
    silent.sound = ShowSound::None;
    silent.musicName = QStringLiteral("left-out.wav"); // not written without music
    SlideShowFile music = silent;
    music.sound = ShowSound::Music;
    music.musicName = QStringLiteral("song.wav");
    music.musicSeconds = 95;

    const struct {
        const char *name;
        const SlideShowFile &show;
        std::uint32_t mode;
    } files[] = { { "picture sounds", three, 1 }, { "silent", silent, 2 }, { "music", music, 0 } };
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        const QByteArray bytes = encodeSlideShow(f.show);
        ASSERT_EQ(bytes.size(), 21988); // 412 + 1656 + 19920
        EXPECT_EQ(bytes.left(4), QByteArray("PALM"));
        EXPECT_EQ(u32(bytes, 4), 21576u); // 19920 + 1656
        EXPECT_EQ(u32(bytes, 8), 3u);
        EXPECT_EQ(u32(bytes, 12), 2068u);
        EXPECT_EQ(QByteArray(bytes.constData() + 16), QByteArray("Summer"));
        EXPECT_EQ(u32(bytes, 144), f.mode);
        const std::uint32_t offsets[] = { 0, 7240, 14480 };
        for (int i = 0; i < 3; ++i) {
            const int at = 412 + 552 * i;
            EXPECT_EQ(u32(bytes, at + 536), offsets[i]);
            // The thumbnail's size field, and its bytes where offset and size say.
            const QByteArray &thumbnail = f.show.entries.at(i).thumbnail;
            EXPECT_EQ(u32(bytes, at + 544), std::uint32_t(thumbnail.size()));
            EXPECT_EQ(bytes.mid(2068 + int(offsets[i]), int(u32(bytes, at + 544))), thumbnail);
            EXPECT_EQ(qFromLittleEndian<std::uint16_t>(bytes.constData() + at + 528), 2);
            EXPECT_EQ(bytes.mid(2068 + int(offsets[i]), 3), f.show.entries.at(i).thumbnail.left(3));
        }
        // Sound fields hold something only in their own mode.
        const bool headerSound = bytes.mid(148, 264).count('\0') != 264;
        EXPECT_EQ(headerSound, f.mode == 0);
        EXPECT_EQ(QByteArray(bytes.constData() + 412 + 264) == "a.wav", f.mode == 1);
        SlideShowFile read;
        ASSERT_TRUE(decodeSlideShow(bytes, read));
        EXPECT_EQ(read.entries.at(2).thumbnail, f.show.entries.at(2).thumbnail);
        EXPECT_EQ(read.entries.at(1).notes, QStringLiteral("notes of b.JPG"));
    }

    const QString folder = makeTestFolder(QStringLiteral("sounds"));
    writeFile(folder + QStringLiteral("/text.wav"), QByteArray("not a sound at all"));
    const struct {
        QString path;
        std::uint32_t seconds;
    } sounds[] = {
        { waveOf(folder, "long.wav", 3.5), 3 },
        { waveOf(folder, "short.wav", 0.2), 1 },
        { folder + QStringLiteral("/text.wav"), 0 },
        { folder + QStringLiteral("/missing.wav"), 0 },
    };
    for (const auto &s : sounds)
        EXPECT_EQ(waveSeconds(s.path), s.seconds) << qPrintable(s.path);

    EXPECT_EQ(autoRunContent(AutoRunProduct::SlideShow, QStringLiteral("Show")),
        QByteArray("[autorun]\r\nopen=Show\\slideshow.exe\r\nicon=Show\\slideshow.exe\r\n"));
    // The shared timings: music split over the pictures, picture sounds, plain time.
    EXPECT_EQ(slideMilliseconds(music, 0), 95000 / 3);
    EXPECT_EQ(slideMilliseconds(three, 0), 4000);
    EXPECT_EQ(slideMilliseconds(three, 1), kPlainSlideMilliseconds);
}

TEST(SlideShowFile, ReaderRefusesOrContainsHostileFiles)
{
    SlideShowFile show;
    show.sound = ShowSound::PictureSounds;
    show.entries = { entry("a.JPG", 100, "a.wav"), entry("b.JPG", 50) };
    const QByteArray good = encodeSlideShow(show);
    const auto patched = [&good](int at, std::uint32_t value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    const auto named = [&good](int at, const char *name) {
        QByteArray bytes = good;
        bytes.replace(at, int(qstrlen(name)) + 1, QByteArray(name, int(qstrlen(name)) + 1));
        return bytes;
    };
    const int second = 412 + 552;
    const struct {
        const char *name;
        QByteArray bytes;
        bool reads;
        QString secondPicture; // when it reads
        int secondThumbnail;
    } cases[] = {
        { "as written", good, true, "b.JPG", 50 },
        { "cut in the header", good.left(300), false },
        { "another signature", good.mid(0, 0) + "MLAP" + good.mid(4), false },
        { "more entries than the file holds", patched(8, 3), false },
        { "a huge count", patched(8, 0xFFFFFFFF), false },
        { "unknown sound mode", patched(144, 7), false },
        { "sound mode 3", patched(144, 3), false },
        { "thumbnail past the end", patched(second + 536, 0xFFFFFF00), true, "b.JPG", 0 },
        { "thumbnail size past the end", patched(second + 544, 51), true, "b.JPG", 0 },
        { "data start past the end", patched(12, 0x7FFFFFFF), true, "b.JPG", 50 },
        { "picture outside the folder", named(second + 8, "../../etc/passwd"), true, "", 50 },
        { "picture in a sub-folder", named(second + 8, "x\\b.JPG"), true, "", 50 },
        { "picture named ..", named(second + 8, ".."), true, "", 50 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SlideShowFile read;
        QString error;
        ASSERT_EQ(decodeSlideShow(c.bytes, read, &error), c.reads) << qPrintable(error);
        if (!c.reads) {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_TRUE(read.entries.isEmpty());
            continue;
        }
        ASSERT_EQ(read.entries.size(), 2);
        EXPECT_EQ(read.entries.at(1).pictureName, c.secondPicture);
        EXPECT_EQ(read.entries.at(1).thumbnail.size(), c.secondThumbnail);
        EXPECT_EQ(read.entries.at(0).soundName, QStringLiteral("a.wav"));
    }
}

} // namespace
