#include "pixkit.h"

#include "imagecodes.h"
#include "mediatypes.h"
#include "photocd.h"
#include "picturestate.h"
#include "picturetypes.h"

#include <QFile>

namespace glimmerix
{

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
    default:
        return kPkFailed;
    }
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
    // Photo CD takes the caller's options; everything else reads as the type table says
    // (FlashPix and .QSF are not decoded and come back unsupported).
    if (upperExtension(path) == QLatin1String(".PCD"))
        return openPhotoCd(path, photoCd);
    const PictureType *type = pictureTypeOf(path);
    if (type == nullptr)
        return kPkFailed;
    // The library reports no progress: its callers (album import) keep their own status text.
    const bool progress = progressSwitch();
    setProgressSwitch(false);
    const BlockHandle result = libraryResult(type->load(path));
    setProgressSwitch(progress);
    return result;
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

} // namespace glimmerix
