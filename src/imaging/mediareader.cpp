#include "mediareader.h"

#include "picturestatus.h"
#include "picturetypes.h"
#include "rawreader.h"

#include <QFile>

#include <utility>

namespace glimmerix
{

namespace
{

// The picture type table's row for an album type recognised by content (a ".jpeg" file, a TIFF
// named ".tiff"): the table is keyed by extension, so ask it with the extension of the format.
const PictureType *albumTypeOf(MediaFormat format)
{
    switch (format) {
    case MediaFormat::Bmp:
        return pictureTypeOf(QStringLiteral("x.BMP"));
    case MediaFormat::Tiff:
        return pictureTypeOf(QStringLiteral("x.TIF"));
    case MediaFormat::Jpeg:
        return pictureTypeOf(QStringLiteral("x.JPG"));
    default:
        return nullptr;
    }
}

} // namespace

DecodeResult loadMediaPicture(const MediaFile &file, PictureUse use)
{
    (void)use;
    if (file.isAlbumPictureType())
        return loadPicture(file.path);
    if (const PictureType *type = albumTypeOf(file.format)) {
        DecodeResult result = type->load(file.path);
        if (result.status != DecodeStatus::Ok && isBlockHandle(result.block))
            blockFree(std::exchange(result.block, 0));
        return result;
    }
    if (file.format == MediaFormat::CameraRaw)
        return loadCameraRaw(file.path, use);
    if (!file.isPicture()) {
        // A folder or a missing file is reported as such, not as a file of an unknown type.
        QFile opened;
        const DecodeResult open = openForReading(opened, file.path);
        if (open.status != DecodeStatus::Ok)
            return open;
        return pictureFailure(DecodeStatus::WrongKind, QStringLiteral("not a picture"));
    }
    return pictureFailure(DecodeStatus::Unsupported,
        QStringLiteral("%1 pictures cannot be read yet").arg(mediaFormatName(file.format)));
}

} // namespace glimmerix
