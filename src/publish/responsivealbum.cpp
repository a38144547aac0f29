#include "responsivealbum.h"

#include "quietjpeg.h"

#include "imaging/dib.h"
#include "imaging/imageconvert.h"
#include "imaging/imagegeometry.h"
#include "imaging/imagescale.h"
#include "imaging/mediawriter.h"

#include <QCryptographicHash>
#include <QRect>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace glimmerix
{

namespace
{

QSize pixelSize(BlockHandle block)
{
    const auto *header = static_cast<const BITMAPINFOHEADER *>(blockLock(block));
    return header ? QSize(header->biWidth, std::abs(header->biHeight)) : QSize();
}

// `block` resampled to `size`. The scaler weighs two neighbours per side, so a picture more than
// twice too large is halved first (again and again) to keep fine detail from turning to noise.
OwnedBlock scaledTo(BlockHandle block, QSize size)
{
    OwnedBlock step;
    BlockHandle source = block;
    for (QSize now = pixelSize(source);
         now.width() > 2 * size.width() && now.height() > 2 * size.height();
         now = pixelSize(source)) {
        OwnedBlock half(
            ScaleImage(source, std::max(1, now.width() / 2), std::max(1, now.height() / 2), 0));
        if (!half)
            return {};
        step = std::move(half);
        source = step.handle();
    }
    return OwnedBlock(ScaleImage(source, size.width(), size.height(), 0));
}

// Writes `block` as NAME.jpg (and NAME.webp) into `folder`. Empty or "FILE: cause".
QString writeVariant(BlockHandle block, const QString &folder, const QString &name, bool webp,
    PictureVariant *variant, QStringList *made)
{
    OwnedBlock wide;
    if (ClassifyImage(block) != kClassTrueColor) {
        wide.reset(ExpandTo24Bit(block));
        if (!wide)
            return folder + name + QStringLiteral(".jpg: no 24-bit copy could be made");
        block = wide.handle();
    }
    variant->size = pixelSize(block);
    variant->jpeg = name + QStringLiteral(".jpg");
    const QString jpegPath = folder + variant->jpeg;
    const QString cause = writeJpegQuietly(jpegPath, block, kResponsiveQuality);
    if (!cause.isEmpty())
        return jpegPath + QStringLiteral(": ") + cause;
    made->append(jpegPath);
    if (!webp)
        return {};
    const QString webpPath = folder + name + QStringLiteral(".webp");
    const WriteResult written = saveMediaPicture(block, webpPath);
    if (!written.ok())
        return webpPath + QStringLiteral(": ") + written.detail;
    made->append(webpPath);
    variant->webp = name + QStringLiteral(".webp");
    return {};
}

} // namespace

QString responsiveKey(const QString &sourcePath)
{
    const QByteArray hash
        = QCryptographicHash::hash(sourcePath.toUtf8(), QCryptographicHash::Sha256);
    return u'p' + QString::fromLatin1(hash.left(8).toHex());
}

QList<int> responsiveWidths(int width)
{
    QList<int> widths;
    for (int offered : kResponsiveWidths)
        if (offered < width)
            widths.append(offered);
    if (width <= kResponsiveWidths.back())
        widths.append(std::max(1, width));
    return widths;
}

QSize responsiveThumbnailSize(QSize picture, bool crop)
{
    const int side = kResponsiveThumbnail;
    if (crop || picture.isEmpty())
        return { side, side };
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w >= h)
        return { side, int(std::max<qint64>(1, h * side / w)) };
    return { int(std::max<qint64>(1, w * side / h)), side };
}

QString writeResponsivePictures(BlockHandle picture, const QString &folder, bool crop, bool webp,
    ResponsiveEntry *entry, QStringList *made)
{
    const QSize full = pixelSize(picture);
    if (full.isEmpty())
        return folder + entry->key + QStringLiteral(".jpg: not a picture");
    const QString noMemory = QStringLiteral(": the picture could not be resampled");

    // The sizes, widest first, each made from the one before it; all are kept for the thumbnails.
    const QList<int> widths = responsiveWidths(full.width());
    std::vector<OwnedBlock> kept;
    BlockHandle source = picture;
    entry->sizes.clear();
    for (auto width = widths.crbegin(); width != widths.crend(); ++width) {
        const QSize size(
            *width, int(std::max<qint64>(1, qint64(full.height()) * *width / full.width())));
        BlockHandle block = source;
        if (size != pixelSize(source)) {
            OwnedBlock scaled = scaledTo(source, size);
            if (!scaled)
                return folder + entry->key + QStringLiteral("-%1.jpg").arg(*width) + noMemory;
            kept.push_back(std::move(scaled));
            block = kept.back().handle();
        }
        // JPEG only: the lightbox takes one format for all sizes, and WebP would cost the most
        // time of the whole pass (the 2560 pixel size alone) for no browser that uses it.
        PictureVariant variant;
        const QString cause = writeVariant(
            block, folder, entry->key + QStringLiteral("-%1").arg(*width), false, &variant, made);
        if (!cause.isEmpty())
            return cause;
        entry->sizes.prepend(variant);
        source = block;
    }

    // The thumbnails from the centre square (cropped) or the whole picture (fitted), taken from
    // the smallest size that still holds the 2x thumbnail, so a large picture is not read again.
    const QSize thumbnail = responsiveThumbnailSize(full, crop);
    BlockHandle base = picture;
    for (const OwnedBlock &block : kept) {
        const QSize size = pixelSize(block.handle());
        const int shorter = std::min(size.width(), size.height());
        if (crop ? shorter >= 2 * kResponsiveThumbnail
                 : size.width() >= 2 * thumbnail.width() && size.height() >= 2 * thumbnail.height())
            base = block.handle();
    }
    OwnedBlock square;
    if (crop) {
        const QSize size = pixelSize(base);
        const int side = std::min(size.width(), size.height());
        square.reset(cropPicture(
            base, QRect((size.width() - side) / 2, (size.height() - side) / 2, side, side)));
        if (!square)
            return folder + entry->key + QStringLiteral("-t1.jpg") + noMemory;
        base = square.handle();
    }
    OwnedBlock larger;
    for (int factor : { 2, 1 }) {
        OwnedBlock scaled = scaledTo(base, thumbnail * factor);
        if (!scaled)
            return folder + entry->key + QStringLiteral("-t%1.jpg").arg(factor) + noMemory;
        const QString cause
            = writeVariant(scaled.handle(), folder, entry->key + QStringLiteral("-t%1").arg(factor),
                webp, factor == 2 ? &entry->thumbnail2x : &entry->thumbnail, made);
        if (!cause.isEmpty())
            return cause;
        larger = std::move(scaled);
        base = larger.handle();
    }
    return {};
}

} // namespace glimmerix
