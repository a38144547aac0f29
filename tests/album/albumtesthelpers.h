#pragma once

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/dibimage.h"
#include "album/thumbnail.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QString>

#include <memory>

#include <gtest/gtest.h>

using namespace glimmerix;

// A solid w x h picture as a 24-bit image block.
inline BlockHandle solidPicture(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(color);
    return imageToDibBlock(image);
}

// A thumbnail block for `path` made from a solid picture (the file need not exist).
inline BlockHandle testThumbnail(
    const QString &path, int width = 20, int height = 10, QRgb color = qRgb(10, 20, 30))
{
    OwnedBlock picture(solidPicture(width, height, color));
    return makeThumbnail(picture.handle(), path);
}

inline std::unique_ptr<AlbumItem> testItem(const QString &path, int width = 20, int height = 10)
{
    return std::make_unique<AlbumItem>(testThumbnail(path, width, height), path, false);
}

// Writes `size` bytes to a new file at `path`.
inline void writeFile(const QString &path, qint64 size)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(size, 'x'));
}

// The album as store() writes it.
inline QByteArray storedAlbumBytes(const CAlbumDoc &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(document.store(buffer));
    return buffer.data();
}
