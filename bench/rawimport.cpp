// The work the album import does for each camera RAW file: what it is, its picture for a
// thumbnail (the camera's preview when there is one), and the 80 x 80 thumbnail record. Reads
// the files named on the command line one after the other on one thread and prints how many
// took how long; bench/compareraw.sh times it against LibRaw's own full decode.

#include "album/thumbnail.h"
#include "imaging/mediareader.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace glimmerix;

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    int made = 0;
    const QStringList files = app.arguments().mid(1);
    for (const QString &path : files) {
        const DecodeResult read = loadMediaPicture(identifyMediaFile(path), PictureUse::Thumbnail);
        OwnedBlock picture(read.block);
        if (read.status != DecodeStatus::Ok) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(read.detail));
            continue;
        }
        OwnedBlock thumbnail(makeThumbnail(picture.handle(), path));
        made += thumbnail ? 1 : 0;
    }
    std::printf("%d of %lld thumbnails in %lld ms\n", made, static_cast<long long>(files.size()),
        static_cast<long long>(timer.elapsed()));
    return made == files.size() ? 0 : 1;
}
