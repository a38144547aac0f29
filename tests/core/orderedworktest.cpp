#include "core/orderedwork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace glimmerix;

using glimmerix::runOrdered;

// Results arrive in index order whatever order the workers finish in, for one worker and many.
TEST(OrderedWork, ConsumesInIndexOrderWithBoundedLookahead)
{
    for (int workers : { 1, 2, 4, 0 }) {
        std::atomic<int> inFlight { 0 };
        std::atomic<int> maxAhead { 0 };
        std::atomic<int> consumedSoFar { 0 };
        std::vector<int> order;
        const int limit = workers <= 0 ? glimmerix::defaultWorkerCount() : workers;
        const bool all = runOrdered<int>(
            40, workers,
            [&](int i) {
                maxAhead = std::max(maxAhead.load(), i - consumedSoFar.load());
                ++inFlight;
                // Odd items are slower so later items often finish first.
                std::this_thread::sleep_for(std::chrono::microseconds(i % 2 ? 600 : 50));
                --inFlight;
                return i * 10;
            },
            [&](int i, int &&value) {
                EXPECT_EQ(value, i * 10);
                order.push_back(i);
                consumedSoFar = i + 1;
                return true;
            });
        EXPECT_TRUE(all);
        ASSERT_EQ(order.size(), 40u) << "workers " << workers;
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(order[static_cast<size_t>(i)], i);
        EXPECT_LT(maxAhead.load(), limit) << "workers " << workers;
    }
}

// Stopping from consume or from idle ends the run with exactly the items consumed before it.
TEST(OrderedWork, StopsPromptlyFromConsumeOrIdle)
{
    std::vector<int> got;
    EXPECT_FALSE(runOrdered<int>(
        100, 2, [](int i) { return i; },
        [&](int i, int &&) {
            got.push_back(i);
            return i < 4;
        }));
    EXPECT_EQ(got, (std::vector<int> { 0, 1, 2, 3, 4 }));

    int idleCalls = 0;
    EXPECT_FALSE(runOrdered<int>(
        3, 1,
        [](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return 0;
        },
        [](int, int &&) { return true; }, [&] { return ++idleCalls < 2; }));
    EXPECT_EQ(idleCalls, 2);
    EXPECT_TRUE(runOrdered<int>(
        0, 2, [](int) { return 0; }, [](int, int &&) { return false; }));
}
