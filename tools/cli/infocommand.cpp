// glimix-cli info FILE: size, depth, class and resolution of a picture.

#include "clicommand.h"
#include "optionreader.h"

#include "imaging/dib.h"
#include "imaging/imageconvert.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturetypes.h"

#include <QFileInfo>

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

int runInfo(const QStringList &arguments)
{
    const std::optional<QStringList> others = readCliOptions(QStringLiteral("info"), arguments, {});
    if (!others)
        return 2;
    const QStringList &args = *others;
    if (args.size() != 1)
        return cliUsageError(QStringLiteral("info"), QStringLiteral("give one picture file"));
    DecodeResult read
        = loadMediaPicture(identifyMediaFile(QFileInfo(args.first()).absoluteFilePath()));
    const OwnedBlock picture(read.block);
    if (read.status != DecodeStatus::Ok)
        return cliFail(args.first(), read.detail);
    const BITMAPINFOHEADER *header = dibHeader(picture.handle());
    const int imageClass = ClassifyImage(picture.handle());
    const auto dpi
        = [](std::int32_t pelsPerMeter) { return std::lround(pelsPerMeter / 39.37007874015747); };
    cliOut(QStringLiteral("width: %1\nheight: %2\nbit depth: %3\nimage class: %4 (%5)\n"
                          "resolution: %6 x %7 pixels per metre (%8 x %9 dpi)\n")
               .arg(header->biWidth)
               .arg(header->biHeight)
               .arg(header->biBitCount)
               .arg(imageClass)
               .arg(className(imageClass))
               .arg(header->biXPelsPerMeter)
               .arg(header->biYPelsPerMeter)
               .arg(dpi(header->biXPelsPerMeter))
               .arg(dpi(header->biYPelsPerMeter)));
    return 0;
}

const CliRegistration registration({ QStringLiteral("info"), QStringLiteral("info FILE"),
    QStringLiteral("print size, bit depth, image class and resolution of a picture"), {},
    runInfo });

} // namespace
