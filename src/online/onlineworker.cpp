#include "onlineworker.h"

#include "platform/deferredhost.h"
#include "platform/fillin.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace glimmerix
{

namespace
{

// What the worker reports and the calling thread shows.
struct SharedState {
    std::mutex mutex;
    std::condition_variable changed;
    int number = 0;
    QString name;
    bool reported = false;
    bool finished = false;
};

} // namespace

void runOnWorker(Progress &progress, int count,
    const std::function<void(const std::atomic<bool> &cancel, const EntryReport &report)> &work)
{
    std::atomic<bool> cancel = false;
    SharedState state;
    DeferredHost deferred(&cancel);
    progress.setRange(count);
    progress.setPosition(0);
    progress.show();

    std::thread worker([&] {
        {
            const ThreadHostScope scope(deferred);
            work(cancel, [&](int number, const QString &name) {
                const std::lock_guard lock(state.mutex);
                state.number = number;
                state.name = name;
                state.reported = true;
                state.changed.notify_all();
            });
        }
        const std::lock_guard lock(state.mutex);
        state.finished = true;
        state.changed.notify_all();
    });

    // The calling thread waits for news in short steps and lets user input run between them.
    for (;;) {
        progress.pumpEvents();
        if (progress.cancelled())
            cancel = true;
        std::unique_lock lock(state.mutex);
        state.changed.wait_for(
            lock, std::chrono::milliseconds(20), [&] { return state.finished || state.reported; });
        if (state.reported) {
            state.reported = false;
            const int number = state.number;
            const QString text = fillIn(QStringLiteral("%1 %2"), number, state.name);
            lock.unlock();
            progress.setPosition(number - 1);
            progress.setText(text);
            continue;
        }
        if (state.finished)
            break;
    }
    worker.join();
    progress.setPosition(count);
    progress.close();
    deferred.replay(host());
}

} // namespace glimmerix
