// The WAVE writer: exact bytes for the recorder's default format, sox reading what we write,
// and failures that leave no file behind.

#include "media/wavewriter.h"
#include "media/wavefile.h"

#include "support/testenvironment.h"
#include "wavetestsupport.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

quint32 u32At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

bool writeBytes(
    const QString &path, const QByteArray &block, QByteArray data, QString *error = nullptr)
{
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    return writeWaveFile(path, block, source, data.size(), error);
}

TEST(WaveWriter, DefaultRecordingOf22050BytesHasFact22050AndTheWholeFormatBlock)
{
    const QString path = makeTestFolder() + QStringLiteral("/two.wav");
    const int maximumFormatSize = 18;
    ASSERT_TRUE(writeBytes(path, WaveFormat::pcm(11025, 8, 1).toBlock(maximumFormatSize),
        QByteArray(22050, char(0x80))));
    const QByteArray bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 12 + 8 + 18 + 8 + 4 + 8 + 22050);
    EXPECT_EQ(bytes.left(4), "RIFF");
    EXPECT_EQ(u32At(bytes, 4), quint32(bytes.size() - 8));
    EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32At(bytes, 16), 18u);
    EXPECT_EQ(bytes.mid(20, 18), WaveFormat::pcm(11025, 8, 1).toBlock(18));
    EXPECT_EQ(bytes.mid(38, 4), "fact");
    EXPECT_EQ(u32At(bytes, 42), 4u);
    EXPECT_EQ(u32At(bytes, 46), 22050u);
    EXPECT_EQ(bytes.mid(50, 4), "data");
    EXPECT_EQ(u32At(bytes, 54), 22050u);
}

TEST(WaveWriter, FactCountIsBytesOverRateTimesSamplesTruncated)
{
    EXPECT_EQ(factSampleCount(WaveFormat::pcm(22050, 16, 2), 88200), 22050u);
    EXPECT_EQ(factSampleCount(WaveFormat::pcm(11025, 16, 1), 3), 1u);
    EXPECT_EQ(factSampleCount(WaveFormat(), 1000), 0u);
}

// What we write, sox reads with the right rate, channels, bits and length, and so do we.
TEST(WaveWriter, SoxAndOurReaderAgreeOnWhatWeWrite)
{
    const QString folder = makeTestFolder();
    const struct {
        WaveFormat format;
        qint64 bytes;
    } cases[] = {
        { WaveFormat::pcm(11025, 8, 1), 22050 },
        { WaveFormat::pcm(11025, 8, 1), 1001 }, // odd: a pad byte follows the data
        { WaveFormat::pcm(44100, 16, 2), 176400 },
        { WaveFormat::pcm(22050, 16, 1), 44100 },
    };
    for (const auto &c : cases) {
        const QString path
            = folder + QStringLiteral("/%1-%2.wav").arg(c.format.samplesPerSec).arg(c.bytes);
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(writeBytes(path, c.format.toBlock(18), QByteArray(c.bytes, '\x10')));
        WaveFile wave;
        ASSERT_TRUE(wave.load(path));
        EXPECT_EQ(wave.format(), c.format);
        EXPECT_EQ(wave.dataLength(), c.bytes);
        EXPECT_TRUE(wave.warning().isEmpty());
        const QString info = runTool(QStringLiteral("soxi"), { path });
        if (info.isEmpty())
            GTEST_SKIP() << "soxi is not installed";
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-r", path }).toUInt(), c.format.samplesPerSec);
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-c", path }).toUInt(), c.format.channels);
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-b", path }).toUInt(), c.format.bitsPerSample);
        EXPECT_EQ(runTool(QStringLiteral("soxi"), { "-s", path }).toLongLong(),
            c.bytes / c.format.blockAlign);
        // sox decodes the whole file without complaint.
        EXPECT_FALSE(runTool(QStringLiteral("sox"), { path, "-n", "stat" }).isEmpty());
    }
}

TEST(WaveWriter, FailuresLeaveNoFileAndSayWhy)
{
    const QByteArray block = WaveFormat::pcm(11025, 8, 1).toBlock(18);
    QString error;
    EXPECT_FALSE(
        writeBytes(testRoot() + QStringLiteral("/no/such/folder/x.wav"), block, "abc", &error));
    EXPECT_FALSE(error.isEmpty());

    // The recording ends before the length it claims: nothing is written.
    const QString path = makeTestFolder() + QStringLiteral("/short.wav");
    QByteArray data(10, 'x');
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    EXPECT_FALSE(writeWaveFile(path, block, source, 100, &error));
    EXPECT_TRUE(error.contains(QLatin1String("after 10 of 100"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    // More than a RIFF size can count.
    EXPECT_FALSE(writeWaveFile(path, block, source, 0xFFFFFFF0LL, &error));
    EXPECT_TRUE(error.contains(QLatin1String("4 GB")));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
