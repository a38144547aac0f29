// glimix-cli convert [--24bit] IN OUT: opens a picture of any type the album reads and saves it
// by the output's extension.

#include "clicommand.h"
#include "optionreader.h"

#include "imaging/imagecodes.h"
#include "imaging/imageconvert.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/mediawriter.h"

#include <QFileInfo>

using namespace glimmerix;

namespace
{

int runConvert(const QStringList &arguments)
{
    bool expand = false;
    const std::optional<QStringList> others = readCliOptions(
        QStringLiteral("convert"), arguments, { cliFlag("--24bit", [&expand] { expand = true; }) });
    if (!others)
        return 2;
    const QStringList &args = *others;
    if (args.size() != 2)
        return cliUsageError(
            QStringLiteral("convert"), QStringLiteral("give an input and an output file"));
    // Bare names mean the current folder here, not the program's folder.
    const QString input = QFileInfo(args.at(0)).absoluteFilePath();
    const QString output = QFileInfo(args.at(1)).absoluteFilePath();

    DecodeResult read = loadMediaPicture(identifyMediaFile(input));
    OwnedBlock picture(read.block);
    if (read.status != DecodeStatus::Ok)
        return cliFail(args.at(0), read.detail);
    if (expand && ClassifyImage(picture.handle()) != kClassTrueColor) {
        OwnedBlock wide(ExpandTo24Bit(picture.handle()));
        if (!wide)
            return cliFail(args.at(0), QStringLiteral("no 24-bit copy could be made"));
        picture = std::move(wide);
    }
    const WriteResult written = saveMediaPicture(picture.handle(), output);
    if (!written.ok())
        return cliFail(args.at(1), written.detail);
    return 0;
}

const CliRegistration registration(
    { QStringLiteral("convert"), QStringLiteral("convert [--24bit] IN OUT"),
        QStringLiteral("open a picture and save it by the output's extension"),
        QStringLiteral("Types: .bmp .jpg .tif .pcx .tga .png .webp (read and write); .pcd, HEIC,\n"
                       "AVIF, GIF and JPEG XL (read; known by their content).\n"
                       "--24bit widens palette and greyscale pictures to 24 bits first."),
        runConvert });

} // namespace
