// How much of an import can use a second core, for every kind of file: each file of the folder
// $GLIMMERIX_BENCH_FILES is added to a new album as the Add-files command does, with one worker
// and with two. Beside files per second it counts the processor time per file, the share of it
// spent on the thread that inserts the items in order (work a second core cannot share), the
// share of the wall time both cores were busy, and the speed-up two cores could give at most
// from those processor times (wall >= processor time / 2 and wall >= the inserting thread's
// time), which a machine shared with other work disturbs less than the wall time.
// bench/comparecores.sh makes the folders.

#include "album/albumdoc.h"
#include "album/orderedimport.h"
#include "platform/host.h"

#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include <sys/resource.h>

using namespace glimmerix;

namespace
{

double seconds(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double processorSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QStringList files()
{
    static const QStringList paths = [] {
        const QDir folder(qEnvironmentVariable("GLIMMERIX_BENCH_FILES"));
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            found << folder.absoluteFilePath(name);
        return found;
    }();
    return paths;
}

void importFiles(benchmark::State &state)
{
    const QStringList paths = files();
    if (paths.isEmpty()) {
        state.SkipWithError("no files in $GLIMMERIX_BENCH_FILES");
        return;
    }
    double processor = 0;
    double inserting = 0;
    double wall = 0;
    for (auto _ : state) {
        const auto wallStart = std::chrono::steady_clock::now();
        const double processStart = processorSeconds(RUSAGE_SELF);
        const double threadStart = processorSeconds(RUSAGE_THREAD);
        CAlbumDoc doc;
        SilentProgress progress;
        AddFilesOutcome outcome;
        addFilesInOrder(doc, paths, progress, outcome, {}, int(state.range(0)));
        processor += processorSeconds(RUSAGE_SELF) - processStart;
        inserting += processorSeconds(RUSAGE_THREAD) - threadStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        if (doc.itemCount() != paths.size())
            state.SkipWithError("a file was not added");
    }
    const double count = double(state.iterations() * paths.size());
    state.counters["files_per_second"] = benchmark::Counter(count, benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_file"] = processor * 1000 / count;
    state.counters["inserting_share"] = processor > 0 ? inserting / processor : 0;
    state.counters["both_busy_share"] = wall > 0 ? processor / (2 * wall) : 0;
    state.counters["two_core_bound"]
        = processor / std::max(processor / 2, std::max(inserting, 1e-9));
}

} // namespace

BENCHMARK(importFiles)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
