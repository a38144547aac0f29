#include "pixkit.h"

#include "bmpcodec.h"
#include "imagecodes.h"
#include "jpegcodec.h"
#include "mediatypes.h"
#include "othercodecs.h"
#include "photocd.h"
#include "picturestate.h"

#include <QFile>

namespace
{

BlockHandle libraryResult(const DecodeResult &result)
{
    switch (result.status) {
    case DecodeStatus::Ok:
        return result.block;
    case DecodeStatus::TooLarge:
        return kPkTooLarge;
    case DecodeStatus::NoMemory:
        return kPkNoMemory;
    case DecodeStatus::Failed:
        // A JPEG that failed late still gives the rows decoded so far.
        return isBlockHandle(result.block) ? result.block : kPkFailed;
    case DecodeStatus::WrongKind:
    case DecodeStatus::Unreadable:
    case DecodeStatus::Cancelled:
        return kPkFailed;
    }
    return kPkFailed;
}

// The other codecs' readers report through the file layer's codes and may show the
// open-failure message; the library keeps quiet and folds their failures into 0.
BlockHandle throughFileReader(BlockHandle (*reader)(const QString &), const QString &path)
{
    const QuietScope quiet;
    const BlockHandle result = reader(path);
    return isBlockHandle(result) ? result : kPkFailed;
}

BlockHandle openPhotoCd(const QString &path, const PhotoCdOptions *options)
{
    PhotoCdResolution resolution = PhotoCdResolution::Base;
    bool grey = false;
    if (options != nullptr) {
        const std::int32_t chosen = options->words[kPhotoCdResolutionWord];
        if (chosen >= 0 && chosen <= 2)
            resolution = PhotoCdResolution(chosen);
        grey = options->words[kPhotoCdOutputWord] == 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kPkFailed;
    return libraryResult(readPhotoCd(file, resolution, grey));
}

BlockHandle openJpeg(const QString &path)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (file == nullptr)
        return kPkFailed;
    const DecodeResult result = readJpeg(file, false);
    std::fclose(file);
    return libraryResult(result);
}

BlockHandle openBmp(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return kPkFailed;
    return libraryResult(readBmp(file, false));
}

} // namespace

PhotoCdOptions photoCdOptions()
{
    PhotoCdOptions options {};
    options.words[kPhotoCdResolutionWord] = 2;
    options.words[kPhotoCdOutputWord] = 2;
    return options;
}

BlockHandle PkOpenFile(const QString &path, int, const PhotoCdOptions *photoCd)
{
    const QString extension = upperExtension(path);
    if (extension == QLatin1String(".BMP"))
        return openBmp(path);
    if (extension == QLatin1String(".JPG"))
        return openJpeg(path);
    if (extension == QLatin1String(".TIF"))
        return throughFileReader(ReadTiffFile, path);
    if (extension == QLatin1String(".PCX"))
        return throughFileReader(ReadPcxFile, path);
    if (extension == QLatin1String(".TGA"))
        return throughFileReader(ReadTgaFile, path);
    if (extension == QLatin1String(".PCD"))
        return openPhotoCd(path, photoCd);
    if (extension == QLatin1String(".QSF"))
        return PkLoadQsfFile(path, kQsfBackgroundWhite);
    // FlashPix (tiled pictures inside a compound document) is not decoded; nor is anything else.
    return kPkFailed;
}

BlockHandle PkLoadQsfFile(const QString &, std::uint32_t)
{
    // The layered .QSF format has no public description: no such file can be read.
    return kPkFailed;
}

int PkSaveFile(BlockHandle, const QString &, int, int)
{
    // FlashPix is not written.
    return kPkSaveFailed;
}
