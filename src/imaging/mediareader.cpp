#include "mediareader.h"

#include "gifreader.h"
#include "heifreader.h"
#include "jxlreader.h"
#include "picturestatus.h"
#include "picturetypes.h"
#include "pngreader.h"
#include "rawreader.h"
#include "rgbblock.h"
#include "webpreader.h"

#include "dib.h"

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

// Today's formats read from the whole file in memory.
DecodeResult readInMemory(
    const MediaFile &file, PictureUse use, MediaPictureSize *fullSize, ThumbnailRule rule)
{
    QByteArray bytes;
    DecodeResult read = readWholePictureFile(file.path, bytes);
    if (read.status != DecodeStatus::Ok)
        return read;
    const std::span data(
        reinterpret_cast<const unsigned char *>(bytes.constData()), std::size_t(bytes.size()));
    switch (file.format) {
    case MediaFormat::Heif:
    case MediaFormat::Avif:
        return readHeif(data, use, fullSize, rule);
    case MediaFormat::Png:
        return readPng(data);
    case MediaFormat::WebP:
        return readWebP(data);
    case MediaFormat::Gif:
        return readGif(data);
    case MediaFormat::JpegXl:
        return readJpegXl(data);
    default:
        return pictureFailure(DecodeStatus::Unsupported,
            QStringLiteral("%1 pictures cannot be read yet").arg(mediaFormatName(file.format)));
    }
}

DecodeResult loadBlock(
    const MediaFile &file, PictureUse use, MediaPictureSize *fullSize, ThumbnailRule rule)
{
    if (file.isAlbumPictureType())
        return loadPicture(file.path);
    if (const PictureType *type = albumTypeOf(file.format)) {
        DecodeResult result = type->load(file.path);
        if (result.status != DecodeStatus::Ok && isBlockHandle(result.block))
            blockFree(std::exchange(result.block, 0));
        return result;
    }
    switch (file.format) {
    case MediaFormat::Heif:
    case MediaFormat::Avif:
    case MediaFormat::Png:
    case MediaFormat::WebP:
    case MediaFormat::Gif:
    case MediaFormat::JpegXl:
        return readInMemory(file, use, fullSize, rule);
    case MediaFormat::CameraRaw:
        return loadCameraRaw(file.path, use, fullSize);
    default:
        break;
    }
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

} // namespace

DecodeResult loadMediaPicture(
    const MediaFile &file, PictureUse use, MediaPictureSize *fullSize, ThumbnailRule thumbnailRule)
{
    MediaPictureSize size;
    DecodeResult result
        = loadBlock(file, use, &size, use == PictureUse::Thumbnail ? thumbnailRule : nullptr);
    if (fullSize && result.status == DecodeStatus::Ok) {
        if (size.width <= 0 || size.height <= 0) {
            const BITMAPINFOHEADER *header = dibHeader(result.block);
            size = { header->biWidth, header->biHeight };
        }
        *fullSize = size;
    }
    return result;
}

} // namespace glimmerix
