#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <sched.h>

namespace glimmerix
{

// Number of workers to use when the caller does not say: one per core this process may run on
// (taskset and container CPU sets count, not only the machine's cores).
inline int defaultWorkerCount()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0)
        return std::max(1, CPU_COUNT(&allowed));
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// Runs `produce(i)` for i = 0 .. count-1 on up to `workers` threads and hands each result to
// `consume(i, result)` on the calling thread strictly in index order, so callers keep their order
// (album items, web pages) while the slow part runs on every core. A worker starts index i only
// when i is fewer than `workers` places ahead of the result being waited for, which bounds memory
// to about one result per worker.
//
// `consume` returns false to stop. `idle` is called about every 50 ms while the caller waits for
// the next result (to pump events or poll Escape) and returns false to stop. On a stop, workers
// finish the item in hand and their results are dropped. Returns true when every index was
// consumed. workers <= 0 means one per core; produce must be safe to call from several threads.
template<typename Result>
bool runOrdered(int count, int workers, const std::function<Result(int)> &produce,
    const std::function<bool(int, Result &&)> &consume, const std::function<bool()> &idle = {})
{
    if (count <= 0)
        return true;
    if (workers <= 0)
        workers = defaultWorkerCount();
    workers = std::min(workers, count);

    std::mutex mutex;
    std::condition_variable resultReady; // a worker finished an item
    std::condition_variable slotFree; // the caller consumed an item or stopped
    std::map<int, Result> done;
    int nextToStart = 0;
    int nextToConsume = 0;
    bool stopped = false;

    auto work = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            slotFree.wait(lock, [&] {
                return stopped || nextToStart >= count || nextToStart < nextToConsume + workers;
            });
            if (stopped || nextToStart >= count)
                return;
            const int index = nextToStart++;
            lock.unlock();
            Result result = produce(index);
            lock.lock();
            done.emplace(index, std::move(result));
            resultReady.notify_all();
        }
    };

    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(workers));
    for (int w = 0; w < workers; ++w)
        threads.emplace_back(work);

    bool completed = true;
    while (nextToConsume < count) {
        std::unique_lock lock(mutex);
        const bool ready = resultReady.wait_for(
            lock, std::chrono::milliseconds(50), [&] { return done.count(nextToConsume) != 0; });
        if (!ready) {
            lock.unlock();
            if (idle && !idle()) {
                completed = false;
                break;
            }
            continue;
        }
        auto node = done.extract(nextToConsume);
        lock.unlock();
        const int index = nextToConsume;
        const bool goOn = consume(index, std::move(node.mapped()));
        lock.lock();
        ++nextToConsume;
        slotFree.notify_all();
        lock.unlock();
        if (!goOn) {
            completed = nextToConsume >= count;
            break;
        }
    }

    {
        std::lock_guard lock(mutex);
        stopped = true;
    }
    slotFree.notify_all();
    for (std::thread &thread : threads)
        thread.join();
    return completed;
}

} // namespace glimmerix
