// Importing JPEG photos into an album: photos per second and peak memory, with one worker and
// two. The photos (noisy pictures, about the entropy of real ones; 4000 x 3000 unless
// $GLIMMERIX_BENCH_PHOTO_SIZE says e.g. 1600x1200) are made once in $GLIMMERIX_BENCH_PHOTOS (or a
// temporary folder), $GLIMMERIX_BENCH_PHOTO_COUNT of them (default 6), so that other tools can be
// timed on the same files (see compareimport.sh). With --make-photos-only the program makes them
// and ends.

#include "album/albumdoc.h"
#include "album/orderedimport.h"
#include "platform/host.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace glimmerix;

namespace
{

int photoCount()
{
    const int count = qEnvironmentVariableIntValue("GLIMMERIX_BENCH_PHOTO_COUNT");
    return count > 0 ? count : 6;
}

QSize photoSize()
{
    const QStringList parts = qEnvironmentVariable("GLIMMERIX_BENCH_PHOTO_SIZE").split(u'x');
    if (parts.size() == 2 && parts[0].toInt() > 0 && parts[1].toInt() > 0)
        return { parts[0].toInt(), parts[1].toInt() };
    return { 4000, 3000 };
}

QStringList photos()
{
    static QTemporaryDir temporary;
    static const QStringList paths = [] {
        QString folder = qEnvironmentVariable("GLIMMERIX_BENCH_PHOTOS");
        if (folder.isEmpty())
            folder = temporary.path();
        QDir().mkpath(folder);
        QStringList made;
        QRandomGenerator random(1);
        const QSize size = photoSize();
        for (int i = 0; i < photoCount(); ++i) {
            const QString path = QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i));
            made << path;
            if (QFileInfo::exists(path))
                continue;
            QImage image(size, QImage::Format_RGB888);
            for (int y = 0; y < image.height(); ++y) {
                uchar *line = image.scanLine(y);
                for (int x = 0; x < image.width(); ++x) {
                    const quint32 noise = random.generate();
                    line[3 * x] = uchar((x / 16 + i * 40) + (noise & 15));
                    line[3 * x + 1] = uchar((y / 12) + ((noise >> 4) & 15));
                    line[3 * x + 2] = uchar(((x + y) / 28) + ((noise >> 8) & 15));
                }
            }
            QImageWriter writer(path, "JPEG");
            writer.setQuality(90);
            writer.write(image);
        }
        return made;
    }();
    return paths;
}

// Adds every photo to a new album as the Add-files command does, with state.range(0) workers.
void importPhotos(benchmark::State &state)
{
    const QStringList files = photos();
    for (auto _ : state) {
        CAlbumDoc doc;
        SilentProgress progress;
        AddFilesOutcome outcome;
        glimmerix::addFilesInOrder(doc, files, progress, outcome, {}, int(state.range(0)));
        if (doc.itemCount() != files.size())
            state.SkipWithError("photo not added");
    }
    state.counters["photos_per_second"] = benchmark::Counter(
        double(state.iterations() * files.size()), benchmark::Counter::kIsRate);
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024.0;
}

} // namespace

BENCHMARK(importPhotos)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    photos(); // made before any timing
    if (app.arguments().contains(QStringLiteral("--make-photos-only")))
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
