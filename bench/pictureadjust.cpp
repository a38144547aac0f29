// The picture window's adjustments on a 12-megapixel picture: what one slider step costs (the
// preview made from the working picture), what the window pays to show it at a zoomed-out step,
// and a crop and the turns that run on release.

#include "imaging/pictureadjust.h"
#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"
#include "picture/dibview.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace glimmerix;

namespace
{

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photo-like picture: gradients with noise.
BlockHandle picture()
{
    static const BlockHandle block = [] {
        const DecodeResult made = createImageBlock(kWidth, kHeight, 24, 0);
        BITMAPINFOHEADER *header = dibHeader(made.block);
        std::mt19937 random(7);
        for (int y = 0; y < kHeight; ++y) {
            unsigned char *row = dibRow(header, y);
            for (int x = 0; x < kWidth; ++x) {
                const int noise = int(random() % 24);
                row[3 * x] = std::uint8_t((x * 255 / kWidth + noise) & 255);
                row[3 * x + 1] = std::uint8_t((y * 255 / kHeight + noise) & 255);
                row[3 * x + 2] = std::uint8_t(((x + y) / 32 * 9 + noise) & 255);
            }
        }
        return made.block;
    }();
    return block;
}

void sliderStep(benchmark::State &state, Adjustment adjustment, int position)
{
    // As in the window, each step hands the last preview back to be filled again.
    const BlockHandle source = picture();
    OwnedBlock preview;
    for (auto _ : state) {
        preview.reset(adjustPicture(source, adjustment, position, preview.release()));
        benchmark::DoNotOptimize(preview.handle());
    }
}

BENCHMARK_CAPTURE(sliderStep, brightness, Adjustment::Brightness, 200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sliderStep, contrast, Adjustment::Contrast, 200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sliderStep, saturation, Adjustment::Saturation, 200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sliderStep, sharpness, Adjustment::Sharpness, 200)->Unit(benchmark::kMillisecond);

// What the canvas makes to show the whole picture at zoom -4 (every 5 x 5 square averaged).
void shownAtZoomMinus4(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(shrunkDibImage(picture(), 5));
}
BENCHMARK(shownAtZoomMinus4)->Unit(benchmark::kMillisecond);

void geometry(benchmark::State &state, int what)
{
    for (auto _ : state) {
        OwnedBlock out(what == 0 ? cropPicture(picture(), QRect(500, 500, 3000, 2000))
                : what == 1      ? rotatePicture(picture(), 90)
                                 : rotatePicture(picture(), 10));
        benchmark::DoNotOptimize(out.handle());
    }
}
BENCHMARK_CAPTURE(geometry, crop_6mp, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geometry, rotate_90, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(geometry, rotate_10_degrees, 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
