#include "presentationframe.h"

#include "imaging/dibblock.h"
#include "imaging/imageconvert.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/picturetypes.h"
#include "imaging/upright.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

namespace glimmerix
{

QSize fitPictureSize(QSize picture, QSize area)
{
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0 || area.width() <= 0 || area.height() <= 0)
        return {};
    const qint64 width = std::min<qint64>(area.width(), w);
    const qint64 height = std::min<qint64>(area.height(), h);
    if (w * height < h * width)
        return QSize(int(std::max<qint64>(1, w * height / h)), int(height));
    return QSize(int(width), int(std::max<qint64>(1, h * width / w)));
}

QImage loadPresentationPicture(const QString &path, QString *problem)
{
    DecodeResult read = loadMediaPicture(identifyMediaFile(path));
    makeUpright(read, path);
    if (read.status != DecodeStatus::Ok) {
        if (isBlockHandle(read.block))
            blockFree(read.block);
        if (problem)
            *problem = read.detail;
        return {};
    }
    OwnedBlock block(read.block);
    if (ClassifyImage(block.handle()) != 2)
        block = OwnedBlock(ExpandTo24Bit(block.handle()));
    BITMAPINFOHEADER *header = checkedDibHeader(block.handle());
    if (!header || header->biBitCount != 24) {
        if (problem)
            *problem = QStringLiteral("the picture cannot be converted for the screen");
        return {};
    }
    const int width = header->biWidth;
    const int height = std::abs(header->biHeight);
    const bool bottomUp = header->biHeight > 0;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        if (problem)
            *problem = QStringLiteral("not enough memory");
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const unsigned char *source = dibRow(header, bottomUp ? height - 1 - y : y);
        auto *target = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

namespace
{

// The 16 standard colours of a 4-bit screen.
constexpr std::array<QRgb, 16> kSixteenColours = { 0xff000000, 0xff800000, 0xff008000, 0xff808000,
    0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0, 0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00,
    0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff };

QRgb nearestOfSixteen(QRgb colour)
{
    QRgb best = kSixteenColours[0];
    int bestDistance = INT32_MAX;
    for (QRgb candidate : kSixteenColours) {
        const int r = qRed(colour) - qRed(candidate);
        const int g = qGreen(colour) - qGreen(candidate);
        const int b = qBlue(colour) - qBlue(candidate);
        const int distance = r * r + g * g + b * b;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

// The nearest of the cube's six levels 0, 51, ..., 255.
int cubeLevel(int value)
{
    constexpr int kStep = 51;
    return (value + kStep / 2) / kStep * kStep;
}

} // namespace

QImage reduceToScreenDepth(const QImage &image, int depth)
{
    if (depth > 8 || image.isNull())
        return image;
    QImage reduced = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < reduced.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(reduced.scanLine(y));
        for (int x = 0; x < reduced.width(); ++x) {
            const QRgb pixel = row[x];
            row[x] = depth == 8
                ? qRgb(cubeLevel(qRed(pixel)), cubeLevel(qGreen(pixel)), cubeLevel(qBlue(pixel)))
                : nearestOfSixteen(pixel);
        }
    }
    return reduced;
}

QImage composeSlide(const QImage &picture, QSize screen, int depth)
{
    QImage frame(screen, QImage::Format_RGB32);
    frame.fill(Qt::black);
    if (picture.isNull())
        return frame;
    const QSize size = fitPictureSize(picture.size(), screen);
    if (size.isEmpty())
        return frame;
    const QImage fitted = size == picture.size()
        ? picture
        : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&frame);
    painter.drawImage((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2,
        reduceToScreenDepth(fitted.convertToFormat(QImage::Format_RGB32), depth));
    return frame;
}

void drawCaption(QImage &frame, const QString &caption, const QFont &font)
{
    if (caption.isEmpty() || frame.isNull())
        return;
    constexpr int kShadowTop = 12;
    constexpr int kTextTop = 10;
    constexpr int kTextRightShift = 4;
    QPainter painter(&frame);
    painter.setFont(font);
    const int lineHeight = QFontMetrics(font).height();
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, kShadowTop, frame.width(), lineHeight),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, caption);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, kTextTop, frame.width() - kTextRightShift, lineHeight),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, caption);
}

} // namespace glimmerix
