#pragma once

#include "imaging/blockmemory.h"
#include "imaging/picturefacts.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

namespace glimmerix
{

// The pictures of the responsive web album theme: each album item becomes a set of files named
// after a key of its source path, so that names never clash, never need the user's characters
// and stay the same when the album is generated again.

// The widths offered to the browser; a picture is never made wider than it is.
inline constexpr std::array<int, 3> kResponsiveWidths { 480, 1280, 2560 };
// The side of a thumbnail at 1x (cropped: a square; fitted: the longer side); 2x doubles it.
inline constexpr int kResponsiveThumbnail = 240;
// The JPEG quality of every picture of the theme.
inline constexpr int kResponsiveQuality = 85;

// One size of a picture in the site: names without folder; `webp` empty when none was made.
struct PictureVariant {
    QSize size;
    QString jpeg;
    QString webp;
};

// What the responsive theme shows of one album item.
struct ResponsiveEntry {
    QString key;
    QList<PictureVariant> sizes; // the lightbox sizes, narrowest first
    PictureVariant thumbnail; // 1x
    PictureVariant thumbnail2x;
    QString name; // the item's file name as shown
    QString original; // the original's file name in the site; empty when not linked
    QString clip; // a clip browsers play, shown in <video>; empty for pictures
    QString download; // a file offered for download (clips browsers do not play, sounds)
    qint64 bytes = 0; // size of the item's own file
    std::array<QString, 3> fields; // caption, keywords, description; empty when not shown
    QList<FactLine> facts; // date taken and camera facts, when the picture has them
};

// "p" and 16 hex digits of a hash of `sourcePath`: the start of every file name of the item.
QString responsiveKey(const QString &sourcePath);

// The widths a picture `width` pixels wide is offered at: every width of kResponsiveWidths below
// it, and its own width when that is not above the largest (at least 1).
QList<int> responsiveWidths(int width);

// The size of the 1x thumbnail of a `picture`: a square of kResponsiveThumbnail when cropped,
// else the picture fitted into that square (each side at least 1).
QSize responsiveThumbnailSize(QSize picture, bool crop);

// Makes every picture file of `entry->key` in `folder` from `picture` (upright, any depth): the
// sizes as JPEG, and the thumbnails at 1x and 2x as JPEG and, when `webp`, WebP. Each file made is
// added to `made`, also when a later one fails. Empty on success, else "FILE: cause".
QString writeResponsivePictures(BlockHandle picture, const QString &folder, bool crop, bool webp,
    ResponsiveEntry *entry, QStringList *made);

} // namespace glimmerix
