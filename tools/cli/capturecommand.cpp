// glimix-cli capture devices|clip|still: lists the capture drivers, records a clip from one into
// an AVI file, or grabs one frame as a picture.

#include "clicommand.h"
#include "platform/fillin.h"
#include "soundoptions.h"

#include "imaging/picturetypes.h"
#include "media/capturedriver.h"
#include "media/capturesession.h"
#include "media/capturesound.h"
#include "media/qtaudiobackend.h"
#include "media/soundrecorder.h"

#include <QHash>
#include <QScopeGuard>

using namespace glimmerix;

namespace
{

const QString kName = QStringLiteral("capture");

// Splits "--name VALUE" options (and the switch --audio) from the one file argument.
bool readOptions(QStringList args, const QStringList &known, QString &file,
    QHash<QString, QString> &values, QString &problem)
{
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (!file.isEmpty()) {
                problem = QStringLiteral("more than one output file");
                return false;
            }
            file = arg;
        } else if (arg == QStringLiteral("--audio") && known.contains(QStringLiteral("audio"))) {
            values.insert(QStringLiteral("audio"), QStringLiteral("1"));
        } else if (known.contains(arg.mid(2)) && !args.isEmpty()) {
            values.insert(arg.mid(2), args.takeFirst());
        } else {
            problem = QStringLiteral("unknown option or missing value: %1").arg(arg);
            return false;
        }
    }
    if (file.isEmpty()) {
        problem = QStringLiteral("no output file");
        return false;
    }
    return true;
}

// The connected driver the options name (the first listed when --device is absent); null with
// `status` set to the exit status after reporting why not.
std::unique_ptr<CaptureDriver> openDriver(const QHash<QString, QString> &values, int &status)
{
    const QList<CaptureDriverEntry> drivers = installedCaptureDrivers();
    int index = drivers.first().index;
    if (values.contains(QStringLiteral("device"))) {
        bool ok = false;
        index = values.value(QStringLiteral("device")).toInt(&ok);
        if (!ok
            || std::none_of(drivers.begin(), drivers.end(),
                [index](const CaptureDriverEntry &e) { return e.index == index; })) {
            status = cliUsageError(kName, QStringLiteral("no capture driver %1").arg(index));
            return nullptr;
        }
    }
    std::unique_ptr<CaptureDriver> driver = makeCaptureDriver(index);
    QString error;
    if (!driver->connect(error)) {
        cliErr(QStringLiteral("%1 capture: %2\n").arg(cliProgramName(), error));
        status = 1;
        return nullptr;
    }
    return driver;
}

int runDevices(const QStringList &args)
{
    if (!args.isEmpty())
        return cliUsageError(kName, QStringLiteral("capture devices takes no arguments"));
    for (const CaptureDriverEntry &entry : installedCaptureDrivers())
        cliOut(fillIn(QStringLiteral("%1\t%2\t%3\n"), entry.index, entry.name, entry.version));
    return 0;
}

int runClip(const QStringList &args)
{
    QString file;
    QHash<QString, QString> values;
    QString problem;
    if (!readOptions(args,
            { QStringLiteral("seconds"), QStringLiteral("device"), QStringLiteral("fps"),
                QStringLiteral("size"), QStringLiteral("audio"), QStringLiteral("rate"),
                QStringLiteral("bits"), QStringLiteral("channels") },
            file, values, problem))
        return cliUsageError(kName, problem);
    bool ok = false;
    const double seconds = values.value(QStringLiteral("seconds")).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 24 * 3600)
        return cliUsageError(kName, QStringLiteral("--seconds needs a positive number"));
    int status = 0;
    std::unique_ptr<CaptureDriver> driver = openDriver(values, status);
    if (!driver)
        return status;
    if (values.contains(QStringLiteral("size"))) {
        const QStringList parts = values.value(QStringLiteral("size")).split(u'x');
        const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
        QString error;
        if (size.isEmpty())
            return cliUsageError(kName, QStringLiteral("--size needs WIDTHxHEIGHT"));
        if (!driver->setFrameSize(size, error))
            return cliFail(file, error);
    }
    if (values.contains(QStringLiteral("fps"))) {
        const int fps = values.value(QStringLiteral("fps")).toInt(&ok);
        if (!ok || fps <= 0 || fps > 1000)
            return cliUsageError(kName, QStringLiteral("--fps needs a number from 1 to 1000"));
        driver->setMicroSecPerFrame(microSecPerFrameOf(fps));
    }
    CaptureSetup setup;
    setup.microSecPerFrame = driver->microSecPerFrame();
    setup.captureAudio = values.contains(QStringLiteral("audio"));
    if (!readPcmOptions(values, setup.audioFormat, problem))
        return cliUsageError(kName, problem);
    // The sound card's input through Qt Multimedia while this command runs.
    std::optional<QtAudioBackend> backend;
    AudioBackend *previous = nullptr;
    const auto restoreBackend = qScopeGuard([&backend, &previous] {
        if (backend)
            setAudioBackend(previous);
    });
    if (setup.captureAudio) {
        previous = setAudioBackend(&backend.emplace());
        const AudioCapabilities offered = captureSoundCapabilities(*driver);
        if (offered.formats().isEmpty()) {
            cliErr(QStringLiteral("%1 capture: no sound input; the clip has no sound\n")
                       .arg(cliProgramName()));
            setup.captureAudio = false;
        } else if (!offered.allows(setup.audioFormat)) {
            return cliFail(file,
                QStringLiteral("the sound input cannot record %1")
                    .arg(formatDescription(setup.audioFormat)));
        }
    }
    const ClipStats stats = recordClip(*driver, file, setup, seconds);
    const qint64 expected = qint64(seconds * 1000000.0 / double(driver->microSecPerFrame()) + 0.5);
    cliOut(
        fillIn(QStringLiteral("%1: %2x%3 at %4 fps, frames expected %5, written %6, dropped %7\n"),
            file, driver->frameSize().width(), driver->frameSize().height(),
            framesPerSecondOf(driver->microSecPerFrame()), expected, stats.framesWritten,
            stats.framesDropped));
    driver->disconnect();
    return stats.ok ? 0 : cliFail(file, stats.detail);
}

int runStill(const QStringList &args)
{
    QString file;
    QHash<QString, QString> values;
    QString problem;
    if (!readOptions(args, { QStringLiteral("device") }, file, values, problem))
        return cliUsageError(kName, problem);
    int status = 0;
    std::unique_ptr<CaptureDriver> driver = openDriver(values, status);
    if (!driver)
        return status;
    QImage frame;
    QString error;
    if (!driver->readFrame(frame, error))
        return cliFail(file, error);
    driver->disconnect();
    const OwnedBlock block(frameToImageBlock(frame));
    if (!block)
        return cliFail(file, QStringLiteral("not enough memory for the picture"));
    const WriteResult written = savePicture(block.handle(), file);
    if (written.status != DecodeStatus::Ok)
        return cliFail(file, written.detail);
    return 0;
}

int run(const QStringList &args)
{
    const QString sub = args.value(0);
    const QStringList rest = args.mid(1);
    if (sub == QStringLiteral("devices"))
        return runDevices(rest);
    if (sub == QStringLiteral("clip"))
        return runClip(rest);
    if (sub == QStringLiteral("still"))
        return runStill(rest);
    return cliUsageError(kName, QStringLiteral("give devices, clip or still"));
}

const CliRegistration registration({ kName,
    QStringLiteral("capture devices | clip OUT.avi --seconds S [--device N] [--fps F] "
                   "[--size WxH] [--audio [--rate HZ] [--bits 8|16] [--channels 1|2]] | "
                   "still OUT.bmp [--device N]"),
    QStringLiteral("lists the video capture drivers, records a clip or grabs a still"),
    QStringLiteral("Drivers are the Video4Linux2 devices /dev/video0-9 and the test pattern (%1). "
                   "The sound comes from the sound card's input, or from the test pattern's "
                   "tone where there is none; the default format is 22050 Hz, 16 bits, mono.")
        .arg(kTestPatternIndex),
    run });

} // namespace
