// Paint time of a full thumbnail grid (10 x 6 cells of real thumbnails) and of scrolling one page
// through a 10,000-item album. Runs offscreen.

#include "album/albumdoc.h"
#include "album/albumitem.h"
#include "album/dibimage.h"
#include "album/thumbnail.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "view/ui/albumview.h"
#include "view/ui/cellwindow.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace glimmerix;

namespace
{

constexpr int kColumns = 10;
constexpr int kRows = 6;

// An album of `count` items that all share the look of a real 80 x 60 thumbnail, made without
// touching the disk for each item.
struct BenchAlbum {
    CAlbumDoc document;
    std::unique_ptr<CAlbumView> view;

    explicit BenchAlbum(int count)
    {
        QImage picture(160, 120, QImage::Format_RGB888);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixelColor(x, y, QColor::fromHsv((x + y) % 360, 180, 230));
        }
        const BlockHandle source = imageToDibBlock(picture);
        for (int i = 0; i < count; ++i) {
            const QString path = QStringLiteral("/bench/picture%1.jpg").arg(i);
            document.insertItem(
                std::make_unique<AlbumItem>(makeThumbnail(source, path), path, true));
        }
        blockFree(source);
        view = std::make_unique<CAlbumView>(&document);
        const GridReserve reserve = view->reserve();
        view->resize(kColumns * grid::kPitchX + reserve.right,
            kRows * grid::kPitchY + grid::kOriginY + reserve.bottom);
        view->show();
        Q_EMIT document.itemsChanged();
        QApplication::processEvents();
    }

    void paintGrid(QImage &target)
    {
        QPainter painter(&target);
        view->render(&painter);
    }
};

void BM_PaintFullGrid(benchmark::State &state)
{
    BenchAlbum album(kColumns * kRows);
    QImage target(album.view->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        album.paintGrid(target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["cells"] = kColumns * kRows;
}
BENCHMARK(BM_PaintFullGrid)->Unit(benchmark::kMillisecond);

void BM_PageDownAndPaintLargeAlbum(benchmark::State &state)
{
    BenchAlbum album(10000);
    QImage target(album.view->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        if (album.view->topRow() >= album.view->scrollMax())
            album.view->scrollGrid(ScrollAction::Top);
        album.view->scrollGrid(ScrollAction::PageDown);
        album.paintGrid(target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["cells"] = double(album.view->cells().size());
}
BENCHMARK(BM_PageDownAndPaintLargeAlbum)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    loadLanguageBundle(joinPath(resourceFolder(), QString::fromLatin1(kLanguageBundleFileName)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
