// glimix-cli sound info|play|record: reads a WAVE file's format and data, plays it to its end,
// or records from the default input device into a WAVE file.

#include "clicommand.h"
#include "platform/fillin.h"
#include "soundoptions.h"

#include "core/folders.h"
#include "media/qtaudiobackend.h"
#include "media/soundrecorder.h"
#include "media/wavefile.h"
#include "media/waveplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cmath>

using namespace glimmerix;

namespace
{

const QString kName = QStringLiteral("sound");

bool loadWave(WaveFile &wave, const QString &path, const QString &subcommand)
{
    if (wave.load(path)) {
        if (!wave.warning().isEmpty())
            cliErr(QStringLiteral("glimix-cli sound %1: %2: warning: %3\n")
                       .arg(subcommand, path, wave.warning()));
        return true;
    }
    cliErr(
        QStringLiteral("glimix-cli sound %1: %2: %3\n").arg(subcommand, path, wave.errorDetail()));
    return false;
}

int runInfo(const QStringList &args)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--json"));
    if (files.size() != 1)
        return cliUsageError(kName, QStringLiteral("sound info needs one WAVE file"));
    WaveFile wave;
    if (!loadWave(wave, files.first(), QStringLiteral("info")))
        return 1;
    const WaveFormat format = wave.format();
    if (json) {
        const QJsonObject object { { QStringLiteral("format_tag"), format.formatTag },
            { QStringLiteral("channels"), format.channels },
            { QStringLiteral("sample_rate"), qint64(format.samplesPerSec) },
            { QStringLiteral("bits_per_sample"), format.bitsPerSample },
            { QStringLiteral("block_align"), format.blockAlign },
            { QStringLiteral("avg_bytes_per_sec"), qint64(format.avgBytesPerSec) },
            { QStringLiteral("data_bytes"), qint64(wave.dataLength()) },
            { QStringLiteral("data_offset"), qint64(wave.dataOffset()) },
            { QStringLiteral("duration_s"), wave.durationSeconds() } };
        cliOut(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
        return 0;
    }
    cliOut(fillIn(QStringLiteral(
                      "format tag: %1 (%2)\nchannels: %3\nsample rate: %4 Hz\n"
                      "bits per sample: %5\nblock alignment: %6\naverage bytes per second: %7\n"
                      "data bytes: %8\ndata offset: %9\n"),
               format.formatTag, formatTagName(format.formatTag), format.channels,
               format.samplesPerSec, format.bitsPerSample, format.blockAlign, format.avgBytesPerSec,
               wave.dataLength(), wave.dataOffset())
        + QStringLiteral("duration: %1 s\n").arg(wave.durationSeconds(), 0, 'f', 3));
    return 0;
}

int runPlay(const QStringList &args)
{
    if (args.size() != 1)
        return cliUsageError(kName, QStringLiteral("sound play needs one WAVE file"));
    QtAudioBackend backend;
    setAudioBackend(&backend);
    WaveFile wave;
    if (!loadWave(wave, args.first(), QStringLiteral("play")))
        return 1;
    QEventLoop loop;
    bool started = false;
    {
        WavePlayer player;
        QObject::connect(&player, &WavePlayer::finished, &loop, &QEventLoop::quit);
        started = player.playFile(
            args.first(), wave.formatBlock(), wave.dataOffset(), wave.dataLength());
        if (started && player.isPlaying())
            loop.exec();
    }
    setAudioBackend(nullptr);
    return started ? 0 : 1;
}

// Reads "--name VALUE" options into `values`; false on an unknown option or a missing value.
bool readOptions(QStringList args, QString &file, QHash<QString, QString> &values, QString &problem)
{
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (!file.isEmpty()) {
                problem = QStringLiteral("more than one output file");
                return false;
            }
            file = arg;
            continue;
        }
        const QString name = arg.mid(2);
        if (!QStringList { QStringLiteral("seconds"), QStringLiteral("rate"),
                QStringLiteral("bits"), QStringLiteral("channels") }
                 .contains(name)
            || args.isEmpty()) {
            problem = QStringLiteral("unknown option or missing value: %1").arg(arg);
            return false;
        }
        values.insert(name, args.takeFirst());
    }
    if (file.isEmpty() || !values.contains(QStringLiteral("seconds"))) {
        problem = QStringLiteral("sound record needs OUT.wav and --seconds");
        return false;
    }
    return true;
}

int runRecord(const QStringList &args)
{
    QString out;
    QHash<QString, QString> values;
    QString problem;
    if (!readOptions(args, out, values, problem))
        return cliUsageError(kName, problem);
    bool ok = true;
    const double seconds = values.value(QStringLiteral("seconds")).toDouble(&ok);
    if (!ok || !(seconds > 0 && seconds <= 24 * 3600))
        return cliUsageError(kName, QStringLiteral("--seconds must be a positive number"));
    WaveFormat wanted = WaveFormat::pcm(11025, 8, 1);
    if (!readPcmOptions(values, wanted, problem))
        return cliUsageError(kName, problem);

    QtAudioBackend backend;
    setAudioBackend(&backend);
    const Folders folders;
    QDir().mkpath(folders.audioFolder());
    int status = 1;
    {
        SoundRecorder recorder(folders.audioFolder());
        if (recorder.setUp() && (recorder.format() == wanted || recorder.chooseFormat(wanted))
            && recorder.record()) {
            // Stop once the device has delivered the wanted length (or well after it should have).
            const std::int64_t target = std::int64_t(std::ceil(seconds * wanted.avgBytesPerSec));
            QEventLoop loop;
            QTimer poll;
            poll.setInterval(20);
            QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
                if (recorder.capturedBytes() >= target)
                    loop.quit();
            });
            QTimer::singleShot(int(seconds * 1000) + 5000, &loop, &QEventLoop::quit);
            poll.start();
            loop.exec();
            recorder.stop();
            if (recorder.save(QDir().absoluteFilePath(out)))
                status = 0;
        } else if (recorder.format() != wanted) {
            cliErr(QStringLiteral("glimix-cli sound record: the input device cannot record %1\n")
                       .arg(formatDescription(wanted)));
        }
        recorder.close();
    }
    setAudioBackend(nullptr);
    return status;
}

int runSound(const QStringList &args)
{
    if (args.isEmpty())
        return cliUsageError(kName, QStringLiteral("give info, play or record"));
    const QString sub = args.first();
    if (sub == QLatin1String("info"))
        return runInfo(args.mid(1));
    if (sub == QLatin1String("play"))
        return runPlay(args.mid(1));
    if (sub == QLatin1String("record"))
        return runRecord(args.mid(1));
    return cliUsageError(kName, QStringLiteral("unknown sound command: %1").arg(sub));
}

const CliRegistration registration({ kName,
    QStringLiteral("sound info FILE [--json] | play FILE | record OUT.wav --seconds S"),
    QStringLiteral("read a WAVE file's format, play it, or record one"),
    QStringLiteral("info: format tag, channels, rate, bits, block alignment, bytes per second,\n"
                   "  data bytes and offset, duration (--json: one object)\n"
                   "play: plays the sound on the default output device to its end\n"
                   "record OUT.wav --seconds S [--rate R] [--bits 8|16] [--channels 1|2]:\n"
                   "  records from the default input device (default 11025 Hz, 8 bits, mono)"),
    runSound });

} // namespace
