#pragma once

#include <QImage>
#include <QString>

#include <vector>

class QIODevice;

// The album thumbnailer's two halves: reading the first thumbnails of an album file, which may
// come from anywhere (a download, a damaged disk), and drawing them as one square picture.

inline constexpr int kMosaicMaxCells = 9;

struct AlbumThumbnails {
    std::vector<QImage> pictures; // in album order, at most kMosaicMaxCells
    QString problem; // why nothing could be read (empty when `pictures` has any)
};

// The thumbnails of the first `wanted` items of the album in `file` (at most kMosaicMaxCells).
// Every size and offset is checked against the file before it is used; an item whose bitmap is
// not a plain 24-bit thumbnail of at most 80 x 80 pixels lying inside the file is left out.
AlbumThumbnails readFirstThumbnails(QIODevice &file, int wanted = kMosaicMaxCells);

// The pictures on a transparent square of `side` pixels, in rows of one (one picture), two (up
// to four) or three (more) cells, the rows centred; each picture scaled to its cell, keeping its
// proportions.
QImage drawMosaic(const std::vector<QImage> &pictures, int side);
