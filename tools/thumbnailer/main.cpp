// glimix-thumbnailer: draws the picture a file manager shows for an album, a mosaic of the
// album's first thumbnails, as a PNG. Called through the freedesktop thumbnailer entry:
//     glimix-thumbnailer [-s SIZE] ALBUM OUTPUT.png
// It links only QtGui: the album is read here, field by field, not through the album library.

#include "albummosaic.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace
{

constexpr int kDefaultSide = 128;
// Larger requests are drawn at this size: eight times the default is more than any file manager
// asks for.
constexpr int kLargestSide = 8 * kDefaultSide;

int fail(const QString &file, const QString &cause)
{
    std::fprintf(stderr, "glimix-thumbnailer: %s: %s\n", file.toLocal8Bit().constData(),
        cause.toLocal8Bit().constData());
    return 1;
}

int usage()
{
    std::fputs("Usage: glimix-thumbnailer [-s SIZE] ALBUM OUTPUT.png\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    int side = kDefaultSide;
    if (args.size() >= 2 && args.first() == QLatin1String("-s")) {
        bool number = false;
        side = args.at(1).toInt(&number);
        if (!number || side < 1)
            return usage();
        side = std::min(side, kLargestSide);
        args = args.mid(2);
    }
    if (args.size() != 2)
        return usage();

    QFile album(args.at(0));
    if (!album.open(QIODevice::ReadOnly))
        return fail(args.at(0), album.errorString());
    const AlbumThumbnails thumbnails = readFirstThumbnails(album);
    if (thumbnails.pictures.empty())
        return fail(args.at(0), thumbnails.problem);

    // Written aside and renamed, so a file manager never caches half a picture.
    QSaveFile output(args.at(1));
    if (!output.open(QIODevice::WriteOnly)
        || !drawMosaic(thumbnails.pictures, side).save(&output, "PNG") || !output.commit())
        return fail(args.at(1), output.errorString());
    return 0;
}
