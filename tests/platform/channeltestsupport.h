#pragma once

#include <QTest>

#include <future>

// Runs `work` on another thread while this one keeps its event loop turning, so a blocking
// sender and an in-process server can talk; returns what `work` returned.
template<typename Work> auto runWhileServing(Work work)
{
    auto result = std::async(std::launch::async, std::move(work));
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QTest::qWait(5);
    return result.get();
}
