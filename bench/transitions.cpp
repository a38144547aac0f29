// The presentation's transition effects at 1920 x 1080: what all the steps of one transition
// cost on one core. The show gives a whole transition 100 ms, so each effect's drawing must fit
// well inside that for its steps to keep their timing.

#include "publish/transitions.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <random>

using namespace glimmerix;

namespace
{

QImage screenPicture(unsigned seed)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qRgb(x * 255 / 1920, y * 255 / 1080, int(random() % 256));
    }
    return image;
}

void wholeTransition(benchmark::State &state)
{
    static const QImage from = screenPicture(1);
    static const QImage to = screenPicture(2);
    const int effect = int(state.range(0));
    const int steps = transitionInfo(effect).steps;
    QImage screen = from.copy();
    for (auto _ : state) {
        for (int step = 0; step < steps; ++step)
            drawTransitionStep(effect, from, to, step, steps, screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.SetLabel(transitionInfo(effect).name);
}

} // namespace

BENCHMARK(wholeTransition)->DenseRange(0, kTransitionCount)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
