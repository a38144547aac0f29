// Importing a photo tree and finding moved files.
//  - treeImport vs flatImport: 2,000 small JPEGs in 50 folders added with their sub-folders
//    (importFolderTree: walk, compare, add) and the same files given as one flat list
//    (addFilesInOrder, as Add Files does). The photos are made once in $GLIMMERIX_BENCH_TREE (or
//    a temporary folder); $GLIMMERIX_BENCH_TREE_PHOTOS changes the count (default 2000).
//  - relink: an album of 10,000 items whose files moved, planned against a tree of 20,000 files
//    (10,000 of them the moved files, sparse files of the recorded sizes) and relinked.

#include "album/treeimport.h"
#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/dibimage.h"
#include "album/foldertree.h"
#include "album/orderedimport.h"
#include "album/relink.h"
#include "album/thumbnail.h"
#include "platform/host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace glimmerix;

namespace
{

QString benchFolder()
{
    static QTemporaryDir temporary;
    const QString folder = qEnvironmentVariable("GLIMMERIX_BENCH_TREE");
    return folder.isEmpty() ? temporary.path() : folder;
}

QString photoRoot()
{
    static const QString root = [] {
        const QString folder = benchFolder() + QStringLiteral("/photos");
        const int wanted = qEnvironmentVariableIntValue("GLIMMERIX_BENCH_TREE_PHOTOS");
        const int count = wanted > 0 ? wanted : 2000;
        quint32 noise = 7;
        for (int i = 0; i < count; ++i) {
            const QString sub = QStringLiteral("%1/%2/event%3")
                                    .arg(folder)
                                    .arg(2000 + i % 5)
                                    .arg(i % 50, 2, 10, QChar(u'0'));
            const QString path = QStringLiteral("%1/img%2.jpg").arg(sub).arg(i, 5, 10, QChar(u'0'));
            if (QFileInfo::exists(path))
                continue;
            QDir().mkpath(sub);
            QImage image(640, 480, QImage::Format_RGB888);
            for (int y = 0; y < image.height(); ++y) {
                uchar *line = image.scanLine(y);
                for (int x = 0; x < 3 * image.width(); ++x) {
                    noise = noise * 1664525u + 1013904223u;
                    line[x] = uchar(x / 8 + y / 4 + i + (noise >> 28));
                }
            }
            QImageWriter writer(path, "JPEG");
            writer.setQuality(85);
            writer.write(image);
        }
        return folder;
    }();
    return root;
}

void flatImport(benchmark::State &state)
{
    const QStringList files
        = walkFolderTree(photoRoot(), [](const QString &) { return true; }).files;
    for (auto _ : state) {
        CAlbumDoc doc;
        SilentProgress progress;
        AddFilesOutcome outcome;
        addFilesInOrder(doc, files, progress, outcome);
        if (doc.itemCount() != files.size())
            state.SkipWithError("photo not added");
    }
    state.counters["files"] = double(files.size());
}

void treeImport(benchmark::State &state)
{
    for (auto _ : state) {
        CAlbumDoc doc;
        SilentProgress progress;
        const TreeImportOutcome outcome = importFolderTree(doc, photoRoot(), progress);
        if (outcome.files.added != outcome.walked || outcome.walked == 0)
            state.SkipWithError("photo not added");
    }
}

constexpr int kItems = 10000;
constexpr int kOtherFiles = 10000;

QString relinkTree()
{
    static const QString root = [] {
        const QString folder = benchFolder() + QStringLiteral("/relink");
        for (int i = 0; i < kItems + kOtherFiles; ++i) {
            const bool moved = i < kItems;
            const QString sub
                = QStringLiteral("%1/%2/%3").arg(folder, moved ? "moved" : "other").arg(i % 100);
            const QString path
                = QStringLiteral("%1/%2%3.jpg").arg(sub, moved ? "img" : "pic").arg(i);
            if (QFileInfo::exists(path))
                continue;
            QDir().mkpath(sub);
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.resize(1000 + i % kItems);
        }
        return folder;
    }();
    return root;
}

// An album of kItems items whose files were under a folder that is gone.
std::unique_ptr<CAlbumDoc> lostAlbum()
{
    QImage picture(40, 30, QImage::Format_RGB888);
    picture.fill(Qt::darkCyan);
    OwnedBlock block(imageToDibBlock(picture));
    auto doc = std::make_unique<CAlbumDoc>();
    const CAlbumDoc::ChangeBatch batch(*doc);
    for (int i = 0; i < kItems; ++i) {
        const QString path = QStringLiteral("/gone/photos/img%1.jpg").arg(i);
        auto item = std::make_unique<AlbumItem>(makeThumbnail(block.handle(), path), path, false);
        item->editableInfo()->fileSize = std::uint32_t(1000 + i);
        doc->insertItem(std::move(item));
    }
    return doc;
}

void relink(benchmark::State &state)
{
    const QString tree = relinkTree();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CAlbumDoc> doc = lostAlbum();
        state.ResumeTiming();
        const RelinkPlan plan = findMovedFiles(*doc, tree);
        if (applyRelink(*doc, plan.entries) != kItems)
            state.SkipWithError("not every item relinked");
    }
}

} // namespace

BENCHMARK(flatImport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(treeImport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(relink)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
