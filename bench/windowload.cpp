// Loading an album in the window (grid shown, progress dialog, Escape watcher) at 1,000 to 20,000
// items: the time per item must stay flat, whatever the event loop costs. `pacedPolls` is the
// program's own host. Runs offscreen.

#include "album/albumdoc.h"
#include "album/dibimage.h"
#include "album/thumbnail.h"
#include "app/ui/guihost.h"
#include "view/ui/albumview.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

using namespace glimmerix;

namespace
{

QTemporaryDir &benchFolder()
{
    static QTemporaryDir folder;
    return folder;
}

// An album file of `count` items with 32 x 24 thumbnails, made once per size.
QString albumOf(int count)
{
    static std::map<int, QString> made;
    const auto found = made.find(count);
    if (found != made.end())
        return found->second;
    QImage image(320, 240, QImage::Format_RGB888);
    image.fill(qRgb(30, 60, 90));
    OwnedBlock picture(imageToDibBlock(image));
    CAlbumDoc doc;
    for (int i = 0; i < count; ++i) {
        const QString media = benchFolder().filePath(QStringLiteral("media/photo%1.jpg").arg(i));
        BlockHandle thumbnail = makeThumbnail(picture.handle(), media);
        doc.insertItem(std::make_unique<AlbumItem>(thumbnail, media, false));
    }
    const QString path = benchFolder().filePath(QStringLiteral("album%1.gmx").arg(count));
    doc.onSaveDocument(path);
    made[count] = path;
    return path;
}

template<typename HostType> void loadInWindow(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString path = albumOf(count);
    HostType windowHost;
    Host *previous = setHost(&windowHost);
    CAlbumDoc::setLoadShowsProgress(true); // a later load of the session: progress and Cancel
    for (auto _ : state) {
        CAlbumDoc doc;
        CAlbumView view(&doc);
        view.resize(900, 600);
        view.show();
        doc.onOpenDocument(path);
        QApplication::processEvents();
        if (doc.itemCount() != count)
            state.SkipWithError("wrong item count");
    }
    setHost(previous);
    state.counters["us_per_item"] = benchmark::Counter(double(state.iterations()) * count / 1e6,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void pacedPolls(benchmark::State &state)
{
    loadInWindow<GuiHost>(state);
}

} // namespace

BENCHMARK(pacedPolls)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
