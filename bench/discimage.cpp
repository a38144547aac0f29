// Writes a disc image of a folder with our disc component, as the CD delivery does: every file
// of FOLDER (recursively) into the image's top level folder tree, then the streamed, atomic
// image write. Prints the seconds taken. bench/comparediscimage.sh times it against xorriso.
// Usage: bench_discimage FOLDER OUT.iso

#include "cdout/disclayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>

#include <cstdio>

using namespace glimmerix;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_discimage FOLDER OUT.iso\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    QElapsedTimer timer;
    timer.start();
    DiscLayout layout;
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QString error;
        if (!layout.addFile(file, root.relativeFilePath(QFileInfo(file).path()), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    QString error;
    const auto outcome = layout.writeImage(QString::fromLocal8Bit(argv[2]), -1, nullptr, &error);
    if (outcome != DiscLayout::Outcome::Written) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%.3f\n", double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
