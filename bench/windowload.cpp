// Loading an album in the window (grid shown, progress dialog, Escape watcher) at 1,000 to 20,000
// items: the time per item must stay flat, whatever the event loop costs. `pacedPolls` is the
// program's own host. `firstScreen` times a 10,000-item album of full-size thumbnails from
// making the window to the first screen of thumbnails painted, as the program's first load (no
// progress window); GLIMMERIX_BENCH_ALBUM names an album file to open instead (the 100,000-item
// album bench_albumload makes). Runs offscreen.

#include "album/albumdoc.h"
#include "album/dibimage.h"
#include "album/thumbnail.h"
#include "app/ui/guihost.h"
#include "view/ui/albumview.h"
#include "view/ui/cellwindow.h"

#include <QApplication>
#include <QElapsedTimer>
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

// An album file of `count` items with thumbnails of `side` x 3/4 `side` (32 or 80), made once
// per size.
QString albumOf(int count, int side = 32)
{
    static std::map<std::pair<int, int>, QString> made;
    const auto found = made.find({ count, side });
    if (found != made.end())
        return found->second;
    QImage image(side * 10, side * 30 / 4, QImage::Format_RGB888);
    image.fill(qRgb(30, 60, 90));
    OwnedBlock picture(imageToDibBlock(image));
    CAlbumDoc doc;
    for (int i = 0; i < count; ++i) {
        const QString media = benchFolder().filePath(QStringLiteral("media/photo%1.jpg").arg(i));
        BlockHandle thumbnail = makeThumbnail(picture.handle(), media);
        doc.insertItem(std::make_unique<AlbumItem>(thumbnail, media, false));
    }
    const QString path
        = benchFolder().filePath(QStringLiteral("album%1-%2.gmx").arg(count).arg(side));
    doc.onSaveDocument(path);
    made[{ count, side }] = path;
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

// Notes the first paint of a grid cell once armed (after the load, when the thumbnails are in).
class FirstPaint final : public QObject
{
public:
    FirstPaint(const CAlbumView &view)
        : m_view(view)
    {
    }
    bool armed = false;
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (armed && event->type() == QEvent::Paint) {
            for (const CellWindow *cell : m_view.cells())
                painted = painted || watched == static_cast<const QObject *>(cell);
        }
        return false;
    }

private:
    const CAlbumView &m_view;
};

void firstScreen(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString given = qEnvironmentVariable("GLIMMERIX_BENCH_ALBUM");
    const QString path = given.isEmpty() ? albumOf(count, 80) : given;
    GuiHost windowHost;
    Host *previous = setHost(&windowHost);
    for (auto _ : state) {
        CAlbumDoc::setLoadShowsProgress(false); // the program's first load
        QElapsedTimer clock;
        clock.start();
        CAlbumDoc doc;
        CAlbumView view(&doc);
        FirstPaint watch(view);
        qApp->installEventFilter(&watch);
        view.resize(900, 600);
        view.show();
        doc.onOpenDocument(path);
        watch.armed = doc.itemCount() > 0;
        while (!watch.painted && clock.elapsed() < 10000)
            QApplication::processEvents();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        qApp->removeEventFilter(&watch);
        if (!watch.painted || (given.isEmpty() && doc.itemCount() != count))
            state.SkipWithError("no thumbnails painted");
    }
    setHost(previous);
}

} // namespace

// One iteration: a later one would reuse the memory the first load freed, which a program that
// has just started does not have.
BENCHMARK(firstScreen)->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(pacedPolls)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
