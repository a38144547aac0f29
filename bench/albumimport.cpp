// Importing 12-megapixel JPEG photos into an album: photos per second and peak memory. The
// photos are made once (noisy 4000 x 3000 pictures, about the entropy of real ones) in
// $GLIMMERIX_BENCH_PHOTOS, or a temporary folder, so other tools can be timed on the same files
// (see compareimport.sh).

#include "album/albumdoc.h"

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

constexpr int kPhotos = 6;

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
        for (int i = 0; i < kPhotos; ++i) {
            const QString path = QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i));
            made << path;
            if (QFileInfo::exists(path))
                continue;
            QImage image(4000, 3000, QImage::Format_RGB888);
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

void importPhotos(benchmark::State &state)
{
    const QStringList files = photos();
    for (auto _ : state) {
        CAlbumDoc doc;
        for (const QString &file : files)
            doc.addFile(file);
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

BENCHMARK(importPhotos)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    photos(); // made before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
