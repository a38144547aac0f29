// glimix-cli sound info: the JSON keys and values, and a clear refusal of a broken file.

#include "support/processrun.h"
#include "support/testenvironment.h"
#include "wavetestsupport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace
{

ProcessRun runSoundCli(const QStringList &args)
{
    return runCli(QStringList { QStringLiteral("sound") } + args);
}

TEST(SoundCli, InfoPrintsTheFormatAsJson)
{
    const QString path = makeTestFolder() + QStringLiteral("/list.wav");
    writeFile(path,
        riff(formatChunk(WaveFormat::pcm(22050, 16, 2)) + chunk("LIST", "INFOx")
            + chunk("data", QByteArray(44100, '\0'))));
    const ProcessRun run = runSoundCli({ "info", path, "--json" });
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject info = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const std::pair<const char *, double> expected[]
        = { { "format_tag", 1 }, { "channels", 2 }, { "sample_rate", 22050 },
              { "bits_per_sample", 16 }, { "block_align", 4 }, { "avg_bytes_per_sec", 88200 },
              { "data_bytes", 44100 }, { "data_offset", 58 }, { "duration_s", 0.5 } };
    for (const auto &[key, value] : expected)
        EXPECT_EQ(info.value(QLatin1String(key)).toDouble(-1), value) << key;
    EXPECT_EQ(info.size(), 9);
}

TEST(SoundCli, InfoRefusesABrokenFileWithItsReason)
{
    const QString path = makeTestFolder() + QStringLiteral("/broken.wav");
    WaveFormat silent = WaveFormat::pcm(8000, 8, 1);
    silent.channels = 0;
    writeFile(path, riff(formatChunk(silent) + chunk("data", "abcd")));
    const ProcessRun run = runSoundCli({ "info", path });
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("0 channels"))) << run.err.toStdString();
    EXPECT_EQ(runSoundCli({ "record", "x.wav", "--bits", "12", "--seconds", "1" }).status, 2);
}

} // namespace
