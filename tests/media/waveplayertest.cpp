// WavePlayer over the fake device: buffer lengths, feeding to the end without cutting the last
// buffer, and the device failures with their messages.

#include "media/waveplayer.h"
#include "media/soundrecorder.h"
#include "media/wavefile.h"

#include "fakeaudio.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"
#include "wavetestsupport.h"

#include <QBuffer>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QByteArray ramp(qint64 size)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(i * 7);
    return bytes;
}

// Both buffer kinds hold whole sample blocks: 32000/512000 for alignment 1, 2 and 4, 31998/511998
// for 3.
TEST(WavePlayer, BuffersAreCutToWholeBlocks)
{
    FakeAudioBackend backend;
    const struct {
        std::uint16_t blockAlign;
        qint64 capture, playback;
    } cases[] = { { 1, 32000, 512000 }, { 4, 32000, 512000 }, { 3, 31998, 511998 },
        { 6, 31998, 511998 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.blockAlign);
        WaveFormat format = WaveFormat::pcm(8000, 8, 1);
        format.blockAlign = c.blockAlign;
        QByteArray data;
        QBuffer source(&data);
        source.open(QIODevice::ReadOnly);
        WavePlayer player;
        ASSERT_TRUE(player.prepare(format.toBlock(18), &source, 0));
        EXPECT_EQ(player.bufferLength(), c.playback);
        EXPECT_EQ(alignedBufferLength(SoundRecorder::kCaptureCapacity, c.blockAlign), c.capture);
    }
}

// 1.2 million bytes take three buffers; the last one plays to its end before the device closes.
TEST(WavePlayer, PlaysEveryByteAndLetsTheLastBufferFinish)
{
    RecordingHost host;
    FakeAudioBackend backend;
    QByteArray data = ramp(1200000);
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    WavePlayer player;
    QSignalSpy finished(&player, &WavePlayer::finished);
    ASSERT_TRUE(player.start(WaveFormat::pcm(44100, 16, 2).toBlock(18), &source, data.size()));
    EXPECT_EQ(backend.queue.size(), 2u); // two buffers are queued at the start

    ASSERT_TRUE(backend.playOne());
    ASSERT_TRUE(backend.playOne()); // the data has run out: one buffer is still playing
    EXPECT_TRUE(player.reachedEnd());
    EXPECT_TRUE(backend.outputOpen);
    EXPECT_EQ(finished.count(), 0);
    ASSERT_TRUE(backend.playOne());
    EXPECT_FALSE(backend.outputOpen);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(backend.played, data);
    EXPECT_EQ(backend.droppedBytes, 0);
    EXPECT_EQ(backend.queuedSizes, (QList<qint64> { 512000, 512000, 176000 }));
    EXPECT_TRUE(host.messageIds().isEmpty());
}

TEST(WavePlayer, StopDropsWhatIsQueuedAndClosesOnce)
{
    FakeAudioBackend backend;
    QByteArray data = ramp(2000000);
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    WavePlayer player;
    QSignalSpy finished(&player, &WavePlayer::finished);
    ASSERT_TRUE(player.start(WaveFormat::pcm(44100, 16, 2).toBlock(18), &source, data.size()));
    player.stop();
    player.stop();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(backend.droppedBytes, 1024000);
    EXPECT_FALSE(backend.outputOpen);
}

TEST(WavePlayer, DeviceFailuresShowTheirMessages)
{
    const struct {
        const char *name;
        void (*setUp)(FakeAudioBackend &);
        int message;
    } cases[] = {
        { "no output device", [](FakeAudioBackend &b) { b.output = false; }, 50450 },
        { "format refused", [](FakeAudioBackend &b) { b.refuseOpen = true; }, 50451 },
        { "buffer refused", [](FakeAudioBackend &b) { b.refuseWrite = true; }, 50452 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        FakeAudioBackend backend;
        c.setUp(backend);
        QByteArray data = ramp(1000);
        QBuffer source(&data);
        source.open(QIODevice::ReadOnly);
        WavePlayer player;
        EXPECT_FALSE(player.start(WaveFormat::pcm(8000, 8, 1).toBlock(18), &source, data.size()));
        EXPECT_EQ(host.messageIds(), QList<int> { c.message });
        EXPECT_FALSE(player.isPlaying());
        EXPECT_FALSE(backend.outputOpen);
    }
}

// WaveFile::play starts from the data offset and plays only the data chunk.
TEST(WavePlayer, WaveFilePlaysItsDataChunk)
{
    FakeAudioBackend backend;
    const QByteArray samples = ramp(5001);
    const QString path = makeTestFolder() + QStringLiteral("/list.wav");
    writeFile(path,
        riff(formatChunk(WaveFormat::pcm(8000, 8, 1)) + chunk("LIST", "abc")
            + chunk("data", samples) + chunk("junk", "trailing")));
    WaveFile wave;
    ASSERT_TRUE(wave.play(path));
    backend.playAll();
    EXPECT_EQ(backend.played, samples);
    EXPECT_FALSE(wave.player()->isPlaying());
}

} // namespace
