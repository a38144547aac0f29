// glimix-cli info FILE [--json]: size, depth, class and resolution of a picture, its format, and
// what its EXIF, XMP and IPTC say (orientation, date taken, camera facts); for a clip, its
// frame size, format and creation time as date taken.

#include "clicommand.h"
#include "optionreader.h"

#include "imaging/dib.h"
#include "imaging/dibblock.h"
#include "imaging/imageconvert.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturefacts.h"
#include "imaging/picturetypes.h"
#include "media/clipfacts.h"
#include "media/firstframe.h"
#include "platform/fillin.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace glimmerix;

namespace
{

QString className(int imageClass)
{
    static const char *const names[]
        = { "unknown", "greyscale", "24-bit colour", "8-bit palette", "4-bit palette", "1-bit" };
    return QString::fromLatin1(names[imageClass >= 0 && imageClass <= 5 ? imageClass : 0]);
}

// A clip: its first frame's upright size, format, file size and date taken (the creation time
// its container records).
int printClipInfo(const QString &given, const MediaFile &file, bool json)
{
    const FirstFrame frame = readUprightFirstFrame(file.path);
    const OwnedBlock picture(frame.block);
    const BITMAPINFOHEADER *header
        = frame.result == FirstFrameResult::Ok ? checkedDibHeader(picture.handle()) : nullptr;
    if (!header)
        return cliFail(given, QStringLiteral("no video frame can be read from this clip"));
    const QString format = mediaFormatName(file.format);
    const qint64 fileSize = QFileInfo(file.path).size();
    const PictureFacts facts = readMediaFacts(file.path);
    if (json) {
        QJsonObject out { { QStringLiteral("width"), int(header->biWidth) },
            { QStringLiteral("height"), int(header->biHeight) },
            { QStringLiteral("format"), format }, { QStringLiteral("fileSize"), fileSize } };
        const QJsonObject more = pictureFactsJson(facts);
        for (auto it = more.begin(); it != more.end(); ++it)
            out.insert(it.key(), it.value());
        cliOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented)));
        return 0;
    }
    cliOut(fillIn(QStringLiteral("width: %1\nheight: %2\nformat: %3\nfile size: %4 bytes\n"),
        header->biWidth, header->biHeight, format, fileSize));
    for (const FactLine &line : pictureFactLines(facts))
        cliOut(QStringLiteral("%1: %2\n").arg(line.label, line.value));
    return 0;
}

int runInfo(const QStringList &arguments)
{
    bool json = false;
    const std::optional<QStringList> others = readCliOptions(
        QStringLiteral("info"), arguments, { cliFlag("--json", [&] { json = true; }) });
    if (!others)
        return 2;
    const QStringList &args = *others;
    if (args.size() != 1)
        return cliUsageError(
            QStringLiteral("info"), QStringLiteral("give one picture or clip file"));
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    const MediaFile file = identifyMediaFile(path);
    if (file.isClip())
        return printClipInfo(args.first(), file, json);
    DecodeResult read = loadMediaPicture(file);
    const OwnedBlock picture(read.block);
    if (read.status != DecodeStatus::Ok)
        return cliFail(args.first(), read.detail);
    const BITMAPINFOHEADER *header = dibHeader(picture.handle());
    const int imageClass = ClassifyImage(picture.handle());
    const auto dpi
        = [](std::int32_t pelsPerMeter) { return std::lround(pelsPerMeter / 39.37007874015747); };
    const QString format = mediaFormatName(file.format);
    const qint64 fileSize = QFileInfo(path).size();
    const PictureFacts facts = readPictureFacts(path);
    if (json) {
        QJsonObject out { { QStringLiteral("width"), int(header->biWidth) },
            { QStringLiteral("height"), int(header->biHeight) },
            { QStringLiteral("bitDepth"), int(header->biBitCount) },
            { QStringLiteral("imageClass"), imageClass },
            { QStringLiteral("imageClassName"), className(imageClass) },
            { QStringLiteral("xPelsPerMeter"), int(header->biXPelsPerMeter) },
            { QStringLiteral("yPelsPerMeter"), int(header->biYPelsPerMeter) },
            { QStringLiteral("format"), format }, { QStringLiteral("fileSize"), fileSize } };
        if (facts.orientation != 0)
            out.insert(QStringLiteral("orientation"), facts.orientation);
        const QJsonObject more = pictureFactsJson(facts);
        for (auto it = more.begin(); it != more.end(); ++it)
            out.insert(it.key(), it.value());
        cliOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented)));
        return 0;
    }
    cliOut(fillIn(QStringLiteral("width: %1\nheight: %2\nbit depth: %3\nimage class: %4 (%5)\n"
                                 "resolution: %6 x %7 pixels per metre (%8 x %9 dpi)\n"),
        header->biWidth, header->biHeight, header->biBitCount, imageClass, className(imageClass),
        header->biXPelsPerMeter, header->biYPelsPerMeter, dpi(header->biXPelsPerMeter),
        dpi(header->biYPelsPerMeter)));
    cliOut(fillIn(QStringLiteral("format: %1\nfile size: %2 bytes\n"), format, fileSize));
    if (facts.orientation != 0)
        cliOut(fillIn(QStringLiteral("orientation: %1 (%2)\n"), facts.orientation,
            orientationText(facts.orientation)));
    for (const FactLine &line : pictureFactLines(facts))
        cliOut(QStringLiteral("%1: %2\n").arg(line.label, line.value));
    return 0;
}

const CliRegistration registration({ QStringLiteral("info"), QStringLiteral("info FILE [--json]"),
    QStringLiteral("print size, bit depth, image class, resolution, format, orientation, date "
                   "taken and camera facts of a picture; size, format and date taken of a clip"),
    {}, runInfo });

} // namespace
