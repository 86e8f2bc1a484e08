#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "core/Cancellation.h"
#include "core/ConcurrentMap.h"

using namespace orvel;

namespace {

std::vector<int> numbers(int count) {
    std::vector<int> items;
    for (int i = 0; i < count; ++i)
        items.push_back(i);
    return items;
}

} // namespace

TEST(ConcurrentMap, RunsAtMostTheLimitAndKeepsItemOrder) {
    std::atomic<int> running = 0;
    std::atomic<int> most = 0;
    const auto results = concurrentMap(numbers(10), 4, [&](int item, std::stop_token) {
        const int now = ++running;
        for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);)
            ;
        // Later items finish first, so the results arrive out of order.
        std::this_thread::sleep_for(std::chrono::milliseconds(20 - item));
        --running;
        return "#" + std::to_string(item);
    });
    EXPECT_LE(most.load(), 4);
    EXPECT_GT(most.load(), 1);
    ASSERT_EQ(results.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(results[static_cast<std::size_t>(i)], "#" + std::to_string(i));
}

TEST(ConcurrentMap, TheFirstFailureStopsTheOthersAndNoResultIsGiven) {
    std::atomic<int> started = 0;
    const auto map = [&] {
        return concurrentMap(numbers(10), 4, [&](int item, std::stop_token stop) {
            ++started;
            if (item == 1)
                throw std::runtime_error("item 1 failed");
            sleepFor(std::chrono::seconds(10), stop);
            return item;
        });
    };
    try {
        map();
        ADD_FAILURE() << "the map did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "item 1 failed");
    }
    EXPECT_LE(started.load(), 4);
}

TEST(ConcurrentMap, LimitsOfZeroAndBelowAndAnOutsideStop) {
    int calls = 0;
    const auto count = [&](int item, std::stop_token) { return ++calls + item; };
    EXPECT_TRUE(concurrentMap(numbers(3), 0, count).empty());
    EXPECT_THROW(concurrentMap(numbers(3), -1, count), std::invalid_argument);
    EXPECT_TRUE(concurrentMap(std::vector<int>{}, 4, count).empty());
    EXPECT_EQ(calls, 0);

    std::stop_source caller;
    caller.request_stop();
    EXPECT_THROW(concurrentMap(numbers(3), 2, count, caller.get_token()), CancellationError);
}
