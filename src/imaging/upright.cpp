#include "upright.h"

#include "imagegeometry.h"
#include "picturefacts.h"

namespace glimmerix
{

bool appliesExifOrientation(MediaFormat format)
{
    switch (format) {
    case MediaFormat::Jpeg:
    case MediaFormat::Tiff:
    case MediaFormat::Png:
    case MediaFormat::WebP:
        return true;
    default:
        return false;
    }
}

int pictureOrientation(const QString &path)
{
    if (!appliesExifOrientation(identifyMediaFile(path).format))
        return 1;
    const int orientation = readPictureFacts(path).orientation;
    return orientation >= 2 && orientation <= 8 ? orientation : 1;
}

BlockHandle uprightPicture(BlockHandle picture, const QString &path)
{
    if (!isBlockHandle(picture))
        return picture;
    const int orientation = pictureOrientation(path);
    if (orientation == 1)
        return picture;
    const BlockHandle turned = orientBlock(picture, orientation);
    if (!isBlockHandle(turned))
        return picture;
    blockFree(picture);
    return turned;
}

void makeUpright(DecodeResult &read, const QString &path)
{
    if (read.status == DecodeStatus::Ok)
        read.block = uprightPicture(read.block, path);
}

} // namespace glimmerix
