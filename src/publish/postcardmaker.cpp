#include "postcardmaker.h"

#include "postcardformat.h"

#include "album/dibimage.h"
#include "imaging/bmpcodec.h"
#include "imaging/bmpformat.h"
#include "imaging/dibblock.h"
#include "imaging/imageconvert.h"
#include "imaging/imagescale.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/mediatypes.h"
#include "imaging/picturetypes.h"
#include "imaging/upright.h"
#include "media/firstframe.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace glimmerix
{

namespace
{

constexpr int kDefaultDotsPerInch = 200;

int dotsPerInchOf(BlockHandle block)
{
    const BITMAPINFOHEADER *header = dibHeader(block);
    const int dpi = header ? int(std::lround(header->biXPelsPerMeter * 0.0254)) : 0;
    return dpi > 0 ? dpi : kDefaultDotsPerInch;
}

} // namespace

QStringList postcardTemplateFolders(const Folders &folders, const QString &cdTemplateFolder)
{
    QStringList list = { folders.templateFolder(), folders.localTemplateFolder() };
    if (!cdTemplateFolder.isEmpty())
        list.append(cdTemplateFolder);
    return list;
}

QString findCardBackground(const QStringList &templateFolders)
{
    for (const QString &folder : templateFolders) {
        const QString path = QDir(folder).filePath(QStringLiteral("Text.bkg"));
        if (!folder.isEmpty() && QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QImage loadCardBackground(const QString &path, QString *error)
{
    const DecodeResult loaded = loadBmpFile(path);
    const OwnedBlock block(loaded.block);
    const QImage image
        = loaded.status == DecodeStatus::Ok ? imageFromDibBlock(block.handle()).copy() : QImage();
    if (image.isNull() && error)
        *error = loaded.detail.isEmpty() ? QStringLiteral("not a Windows bitmap") : loaded.detail;
    return image;
}

QSize fitIntoCard(QSize picture)
{
    qint64 width = picture.width();
    qint64 height = picture.height();
    if (width <= kCardWidth && height <= kCardHeight)
        return picture;
    if (height > 0) {
        width = width * kCardHeight / height;
        height = kCardHeight;
    }
    if (width > kCardWidth) {
        // A picture far wider than high would come out 0 rows high; it keeps at least one.
        height = std::max<qint64>(1, qint64(kCardWidth) * kCardHeight / width);
        width = kCardWidth;
    }
    return QSize(int(width), int(height));
}

QRect centredWindow(QSize picture, bool large)
{
    const QSize window = large ? QSize(kLargeWindowWidth, kLargeWindowHeight)
                               : QSize(kSmallWindowWidth, kSmallWindowHeight);
    return QRect(QPoint(picture.width() / 2 - window.width() / 2,
                     picture.height() / 2 - window.height() / 2),
        window);
}

QString postcardClipName(const QString &clipPath)
{
    const QString extension = upperExtension(clipPath);
    return IsVideoFile(clipPath) ? QStringLiteral("Video") + extension : QStringLiteral("Video");
}

QString postcardClipFileName(const QString &clipPath)
{
    return QStringLiteral("video") + GetFileExtension(clipPath).toLower();
}

QString postcardClipProblem(const QString &clipPath)
{
    if (!QFileInfo(clipPath).isFile())
        return QStringLiteral("no such file");
    // The postcard names only these clips so that the player finds them (see postcardClipName).
    if (!IsVideoFile(clipPath))
        return QStringLiteral("a postcard clip is an .avi, .mpeg, .mpg or .mov file");
    const FirstFrame frame = readFirstVideoFrame(clipPath);
    OwnedBlock block(frame.block);
    switch (frame.result) {
    case FirstFrameResult::Ok:
        return {};
    case FirstFrameResult::CannotOpen:
        return QStringLiteral("FFmpeg cannot open the clip");
    case FirstFrameResult::NoVideoStream:
        return QStringLiteral("the clip has no video");
    case FirstFrameResult::NoFrame:
        return QStringLiteral("the clip has no picture that can be decoded");
    }
    return {};
}

QByteArray packedDibBytes(BlockHandle block)
{
    BITMAPINFOHEADER *header = checkedDibHeader(block);
    if (!header)
        return {};
    const qsizetype size = qsizetype(dibBits(header) - reinterpret_cast<unsigned char *>(header))
        + qsizetype(dibRowBytes(header->biWidth, header->biBitCount)) * std::abs(header->biHeight);
    return QByteArray(reinterpret_cast<const char *>(header), size);
}

QByteArray bmpFileBytes(const QByteArray &packedDib)
{
    if (packedDib.size() < qsizetype(sizeof(BITMAPINFOHEADER)))
        return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, packedDib.constData(), sizeof header);
    const std::uint32_t colours = header.biBitCount <= 8 ? dibColorCount(header) : 0;
    QByteArray file(sizeof(BITMAPFILEHEADER), '\0');
    PostcardLayout::putLe16(file, 0, kBitmapSignature);
    PostcardLayout::putLe32(file, 2, std::uint32_t(file.size() + packedDib.size()));
    PostcardLayout::putLe32(file, 10, std::uint32_t(54 + 4 * colours));
    return file + packedDib;
}

QByteArray packedDibOf(const QImage &image)
{
    OwnedBlock block(imageToDibBlock(image));
    return packedDibBytes(block.handle());
}

QImage postcardCardImage(const PostcardContent &content)
{
    return QImage::fromData(bmpFileBytes(content.cardPicture), "BMP");
}

QImage postcardFrameImage(const PostcardContent &content)
{
    return QImage::fromData(content.frameData);
}

OwnedBlock loadOwnFramePicture(const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return OwnedBlock();
    };
    DecodeResult loaded = loadMediaPicture(identifyMediaFile(path));
    makeUpright(loaded, path);
    if (loaded.status != DecodeStatus::Ok)
        return fail(
            loaded.detail.isEmpty() ? QStringLiteral("the picture cannot be read") : loaded.detail);
    OwnedBlock picture(loaded.block);
    const BITMAPINFOHEADER *header = checkedDibHeader(picture.handle());
    if (!header)
        return fail(QStringLiteral("the picture cannot be read"));
    if (header->biBitCount <= 8) {
        picture.reset(ExpandTo24Bit(picture.handle()));
        header = checkedDibHeader(picture.handle());
        if (!header)
            return fail(QStringLiteral("the picture cannot be widened to 24 bits"));
    }
    const QSize size(header->biWidth, std::abs(header->biHeight));
    const QSize fitted = fitIntoCard(size);
    if (fitted == size)
        return picture;
    OwnedBlock scaled(ScaleImage(
        picture.handle(), fitted.width(), fitted.height(), dotsPerInchOf(picture.handle())));
    if (!scaled)
        return fail(QStringLiteral("the picture could not be resampled"));
    return scaled;
}

std::optional<PostcardContent> makePostcardContent(
    const PostcardFrameChoice &frame, const QImage &card, const QString &clipPath, QString *error)
{
    PostcardContent content;
    const bool fromCatalog
        = frame.catalog && frame.frameIndex >= 0 && frame.frameIndex < frame.catalog->frames.size();
    if (!fromCatalog && !isBlockHandle(frame.ownPicture))
        return content;
    content.hasEntry = true;
    content.cardPicture = packedDibOf(card);
    content.clipName = postcardClipName(clipPath);
    if (fromCatalog) {
        const CatalogFrame &chosen = frame.catalog->frames.at(frame.frameIndex);
        content.window = frame.large ? chosen.largeWindow : chosen.smallWindow;
        content.frameData = readCatalogFrameData(*frame.catalog, chosen, error);
        if (content.frameData.size() != chosen.frameSize)
            return std::nullopt;
        return content;
    }
    const QByteArray dib = packedDibBytes(frame.ownPicture);
    const BITMAPINFOHEADER *header = checkedDibHeader(frame.ownPicture);
    if (dib.isEmpty() || !header) {
        if (error)
            *error = QStringLiteral("the own picture is damaged");
        return std::nullopt;
    }
    content.window = centredWindow(QSize(header->biWidth, std::abs(header->biHeight)), frame.large);
    content.frameData = bmpFileBytes(dib);
    return content;
}

} // namespace glimmerix
