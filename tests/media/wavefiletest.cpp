// WaveFile: RIFF walking, the duration rule, bad input, and files made by sox and ffmpeg.

#include "media/wavefile.h"

#include "support/testenvironment.h"
#include "wavetestsupport.h"

#include <QBuffer>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

const WaveFormat kMono8 = WaveFormat::pcm(11025, 8, 1);
const WaveFormat kStereo16 = WaveFormat::pcm(44100, 16, 2);

bool loadBytes(WaveFile &wave, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return wave.load(buffer);
}

struct GoodCase {
    const char *name;
    QByteArray bytes;
    WaveFormat format;
    qint64 dataLength;
    qint64 dataOffset;
    bool warns;
};

TEST(WaveFile, ReadsChunksInAnyArrangement)
{
    const QByteArray fmt = formatChunk(kMono8);
    const QByteArray data = chunk("data", QByteArray(100, 'x'));
    const QByteArray list = chunk("LIST", QByteArray("INFOINAM\5\0\0\0Hello", 17));
    const GoodCase cases[] = {
        { "plain", riff(fmt + data), kMono8, 100, 44, false },
        { "18-byte format, fact", riff(formatChunk(kStereo16, 18) + chunk("fact", "abcd") + data),
            kStereo16, 100, 58, false },
        { "LIST with odd size before data", riff(fmt + list + data), kMono8, 100, 70, false },
        { "unknown chunk before fmt", riff(chunk("junk", "abc") + fmt + data), kMono8, 100, 56,
            false },
        { "data before fmt", riff(data + fmt), kMono8, 100, 20, false },
        { "odd data length", riff(fmt + chunk("data", "abc")), kMono8, 3, 44, false },
        { "4 GB RIFF size", riff(fmt + data, 0xFFFFFFFFLL), kMono8, 100, 44, true },
        { "RIFF size 0 from a pipe", riff(fmt + data, 0), kMono8, 100, 44, true },
        { "data size past the end", riff(fmt + chunk("data", "abcd", 1000)), kMono8, 4, 44, true },
        { "4 GB data size", riff(fmt + chunk("data", "abcd", 0xFFFFFFFFLL), 0xFFFFFFFFLL), kMono8,
            4, 44, true },
    };
    for (const GoodCase &c : cases) {
        SCOPED_TRACE(c.name);
        WaveFile wave;
        ASSERT_TRUE(loadBytes(wave, c.bytes)) << wave.errorDetail().toStdString();
        EXPECT_EQ(wave.format(), c.format);
        EXPECT_EQ(wave.dataLength(), c.dataLength);
        EXPECT_EQ(wave.dataOffset(), c.dataOffset);
        EXPECT_EQ(!wave.warning().isEmpty(), c.warns) << wave.warning().toStdString();
    }
}

TEST(WaveFile, RefusesBadInputWithADetail)
{
    const QByteArray fmt = formatChunk(kMono8);
    const QByteArray data = chunk("data", QByteArray(10, 'x'));
    WaveFormat noChannels = kMono8;
    noChannels.channels = 0;
    WaveFormat noRate = kMono8;
    noRate.samplesPerSec = 0;
    WaveFormat noAlign = kMono8;
    noAlign.blockAlign = 0;
    const struct {
        const char *name;
        QByteArray bytes;
        WaveError error;
        const char *detail;
    } cases[] = {
        { "empty", {}, WaveError::Truncated, "shorter than the 12-byte" },
        { "cut header", QByteArray("RIFF\4\0\0\0WA", 10), WaveError::Truncated, "12-byte" },
        { "not RIFF", QByteArray("RIFX\4\0\0\0WAVE", 12), WaveError::NotRiff, "RIFX" },
        { "AVI form", riff(fmt, -1, "AVI "), WaveError::NotWave, "AVI " },
        { "no chunks", riff({}), WaveError::Truncated, "no \"fmt \"" },
        { "format cut", riff(fmt).left(30), WaveError::Truncated, "cut by the end" },
        { "format of 14 bytes", riff(formatChunk(kMono8, 14) + data), WaveError::BadFormat,
            "14 bytes" },
        { "zero channels", riff(formatChunk(noChannels) + data), WaveError::BadFormat,
            "0 channels" },
        { "zero rate", riff(formatChunk(noRate) + data), WaveError::BadFormat, "rate of 0" },
        { "zero block alignment", riff(formatChunk(noAlign) + data), WaveError::BadFormat,
            "alignment of 0" },
        { "huge format", riff(chunk("fmt ", QByteArray(70000, '\1'))), WaveError::BadFormat,
            "longer than" },
        { "no data", riff(fmt + chunk("LIST", "x")), WaveError::NoData, "no \"data\"" },
        { "RIFF size cuts data off", riff(fmt + data, 4 + 24), WaveError::NoData, "no \"data\"" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WaveFile wave;
        EXPECT_FALSE(loadBytes(wave, c.bytes));
        EXPECT_EQ(wave.error(), c.error);
        EXPECT_TRUE(wave.errorDetail().contains(QLatin1String(c.detail)))
            << wave.errorDetail().toStdString();
        EXPECT_TRUE(wave.formatBlock().isEmpty());
        EXPECT_EQ(wave.dataLength(), 0);
        EXPECT_EQ(wave.durationSeconds(), 0.0);
    }
    WaveFile missing;
    EXPECT_FALSE(missing.load(testRoot() + QStringLiteral("/missing.wav")));
    EXPECT_EQ(missing.error(), WaveError::CannotOpen);
}

TEST(WaveFile, DurationIsDataOverByteRateOrTheFactCountWhenCompressed)
{
    WaveFile wave;
    ASSERT_TRUE(loadBytes(wave, riff(formatChunk(kMono8) + chunk("data", QByteArray(22050, 0)))));
    EXPECT_DOUBLE_EQ(wave.durationSeconds(), 2.0);
    // A compressed format whose byte rate is off: the fact chunk's 11025 samples are one second.
    WaveFormat ima { 0x11, 1, 11025, 16000, 1024, 4, 2 };
    QByteArray count(4, '\0');
    count[0] = char(0x11);
    count[1] = char(0x2B);
    ASSERT_TRUE(loadBytes(wave,
        riff(formatChunk(ima, 20) + chunk("fact", count) + chunk("data", QByteArray(2048, 0)))));
    EXPECT_DOUBLE_EQ(wave.durationSeconds(), 1.0);
}

// Files made by the usual tools: format and data length as the tool describes them.
TEST(WaveFile, ReadsFilesMadeBySoxAndFfmpeg)
{
    const QString folder = makeTestFolder(QStringLiteral("tools"));
    const auto path = [&folder](const char *name) { return folder + u'/' + QLatin1String(name); };
    const QString sine = QStringLiteral("sine=f=440:d=0.5");
    struct Made {
        const char *file;
        QString program;
        QStringList arguments;
        std::uint16_t tag, channels, bits;
        std::uint32_t rate;
    };
    const Made made[] = {
        { "sox16.wav", QStringLiteral("sox"),
            { "-n", "-r", "8000", "-b", "16", "-c", "2", path("sox16.wav"), "synth", "0.5", "sine",
                "440" },
            1, 2, 16, 8000 },
        { "soxodd.wav", QStringLiteral("sox"),
            { "-n", "-r", "22050", "-b", "8", "-c", "1", path("soxodd.wav"), "synth", "3s", "sine",
                "440" },
            1, 1, 8, 22050 },
        { "soxima.wav", QStringLiteral("sox"),
            { "-n", "-r", "11025", "-c", "1", "-e", "ima-adpcm", path("soxima.wav"), "synth", "0.5",
                "sine", "440" },
            0x11, 1, 4, 11025 },
        { "ffima.wav", QStringLiteral("ffmpeg"),
            { "-loglevel", "error", "-f", "lavfi", "-i", sine, "-ar", "11025", "-c:a",
                "adpcm_ima_wav", path("ffima.wav") },
            0x11, 1, 4, 11025 },
        { "fflist.wav", QStringLiteral("ffmpeg"),
            { "-loglevel", "error", "-f", "lavfi", "-i", sine, "-metadata", "title=Hello", "-c:a",
                "pcm_s16le", path("fflist.wav") },
            1, 1, 16, 44100 },
    };
    for (const Made &m : made) {
        SCOPED_TRACE(m.file);
        if (runTool(m.program, m.arguments).isEmpty())
            GTEST_SKIP() << m.program.toStdString() << " is not installed";
        WaveFile wave;
        ASSERT_TRUE(wave.load(path(m.file))) << wave.errorDetail().toStdString();
        const WaveFormat format = wave.format();
        EXPECT_EQ(format.formatTag, m.tag);
        EXPECT_EQ(format.channels, m.channels);
        EXPECT_EQ(format.bitsPerSample, m.bits);
        EXPECT_EQ(format.samplesPerSec, m.rate);
        // The data runs to the end of the file, less its pad byte.
        const qint64 size = QFileInfo(path(m.file)).size();
        EXPECT_EQ(wave.dataOffset() + wave.dataLength() + (wave.dataLength() & 1), size);
        if (format.isPcm()) {
            const QString samples = runTool(QStringLiteral("soxi"), { "-s", path(m.file) });
            EXPECT_EQ(wave.dataLength(), samples.toLongLong() * format.blockAlign);
        }
        const QString seconds = runTool(QStringLiteral("soxi"), { "-D", path(m.file) });
        EXPECT_NEAR(wave.durationSeconds(), seconds.toDouble(), 0.01);
    }
}

} // namespace
