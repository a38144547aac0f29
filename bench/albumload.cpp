// Loading a large album: 10,000 items with 80 x 60 thumbnails (about 158 MB), against reading the
// same file from the page cache, in this process and with `cat`. Set GLIMMERIX_BENCH_ALBUM to a
// file path to keep the album there (for timing the command-line tool on it), and
// GLIMMERIX_BENCH_ITEMS for another item count (100000 makes the 1.5 GB album).

#include "album/albumdoc.h"
#include "album/dibimage.h"
#include "album/thumbnail.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace glimmerix;

namespace
{

int itemCount()
{
    static const int count = [] {
        const int wanted = qEnvironmentVariableIntValue("GLIMMERIX_BENCH_ITEMS");
        return wanted > 0 ? wanted : 10000;
    }();
    return count;
}

const QString &albumPath()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString kept = qEnvironmentVariable("GLIMMERIX_BENCH_ALBUM");
        const QString file = kept.isEmpty() ? folder.filePath(QStringLiteral("large.gmx")) : kept;
        QImage image(800, 600, QImage::Format_RGB888);
        image.fill(qRgb(30, 60, 90));
        OwnedBlock picture(imageToDibBlock(image));
        CAlbumDoc doc;
        for (int i = 0; i < itemCount(); ++i) {
            const QString media = folder.filePath(QStringLiteral("media/photo%1.jpg").arg(i));
            doc.insertItem(
                std::make_unique<AlbumItem>(makeThumbnail(picture.handle(), media), media, false));
        }
        doc.onSaveDocument(file);
        return file;
    }();
    return path;
}

void loadLargeAlbum(benchmark::State &state)
{
    const QString path = albumPath();
    CAlbumDoc::setLoadShowsProgress(false);
    for (auto _ : state) {
        CAlbumDoc doc;
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        doc.load(file);
        if (doc.itemCount() != itemCount())
            state.SkipWithError("wrong item count");
        CAlbumDoc::setLoadShowsProgress(false);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

void readFileOnly(benchmark::State &state)
{
    const QString path = albumPath();
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        while (file.read(buffer.data(), buffer.size()) > 0) { }
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

// The outside tool: a whole process that reads the file to /dev/null.
void catFile(benchmark::State &state)
{
    const QByteArray command = "cat '" + QFile::encodeName(albumPath()) + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.constData()) != 0)
            state.SkipWithError("cat failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(albumPath()).size());
}

} // namespace

BENCHMARK(catFile)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(readFileOnly)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(loadLargeAlbum)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
