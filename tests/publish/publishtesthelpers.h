#pragma once

// Albums of real files for the publishing tests.

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/albumtesthelpers.h"
#include "platform/paths.h"
#include "support/processrun.h"
#include "support/testenvironment.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

// A picture of `width` x `height` with a gradient (so JPEG sizes are realistic), saved by the
// extension of `path` (".jpg", ".bmp", ...).
inline void writePicture(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(200, 40, 40));
    gradient.setColorAt(1, QColor(20, 60, 220));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    image.save(path);
}

// A document holding the files at `paths` as items, in order, each marked present (the
// thumbnails are plain test pictures, so the files themselves are not read).
inline void addPresentItems(CAlbumDoc &doc, const QStringList &paths)
{
    for (const QString &path : paths)
        doc.insertItem(std::make_unique<AlbumItem>(testThumbnail(path), path, true));
}
