#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "core/Cancellation.h"
#include "core/TaskGroup.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

// Tracks how many tasks run at once.
class Occupancy {
  public:
    void enter() {
        std::lock_guard guard(m_lock);
        m_highest = std::max(m_highest, ++m_running);
        m_changed.notify_all();
    }
    void leave() {
        std::lock_guard guard(m_lock);
        --m_running;
    }
    // Whether `count` tasks were running together before the time ran out.
    bool waitForRunning(int count) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 5s, [&] { return m_running >= count; });
    }
    int highest() {
        std::lock_guard guard(m_lock);
        return m_highest;
    }

  private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_running = 0;
    int m_highest = 0;
};

} // namespace

TEST(TaskGroup, RunsEveryTaskOnceAndNeverMoreThanTheLimitAtOnce) {
    for (const int limit : {-1, 0, 1, 3}) {
        Occupancy occupancy;
        std::mutex lock;
        std::multiset<std::size_t> ran;
        TaskGroup::run(9, limit, [&](std::size_t index, std::stop_token) {
            occupancy.enter();
            std::this_thread::sleep_for(2ms);
            {
                std::lock_guard guard(lock);
                ran.insert(index);
            }
            occupancy.leave();
        });
        EXPECT_EQ(ran, (std::multiset<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8})) << limit;
        EXPECT_LE(occupancy.highest(), std::max(limit, 1)) << limit;
    }
}

TEST(TaskGroup, RunsTasksUpToTheLimitTogether) {
    Occupancy occupancy;
    std::atomic<bool> sawBoth = false;
    TaskGroup::run(2, 2, [&](std::size_t, std::stop_token) {
        occupancy.enter();
        if (occupancy.waitForRunning(2))
            sawBoth = true;
    });
    EXPECT_TRUE(sawBoth);
}

TEST(TaskGroup, TheFirstErrorStopsTheOthersAndIsRethrownAfterTheyEnd) {
    Occupancy occupancy;
    std::atomic<bool> waiterEnded = false;
    std::atomic<int> started = 0;
    const auto run = [&] {
        TaskGroup::run(10, 2, [&](std::size_t index, std::stop_token stop) {
            ++started;
            occupancy.enter();
            if (index == 0) {
                occupancy.waitForRunning(2);
                throw std::runtime_error("first");
            }
            try {
                sleepFor(10s, stop);
            } catch (const CancellationError&) {
                std::this_thread::sleep_for(20ms);
                waiterEnded = true;
                throw;
            }
        });
    };
    try {
        run();
        FAIL() << "the group did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
    EXPECT_TRUE(waiterEnded);
    // Both workers were busy until the stop, so no later task started.
    EXPECT_EQ(started, 2);
}

TEST(TaskGroup, AStopFromOutsideEndsTheGroupWithCancellation) {
    std::stop_source stop;
    std::atomic<int> started = 0;
    auto group = std::async(std::launch::async, [&] {
        TaskGroup::run(
            5, 1,
            [&](std::size_t, std::stop_token token) {
                ++started;
                sleepFor(10s, token);
            },
            stop.get_token());
    });
    while (started == 0)
        std::this_thread::sleep_for(1ms);
    stop.request_stop();
    ASSERT_EQ(group.wait_for(5s), std::future_status::ready);
    EXPECT_THROW(group.get(), CancellationError);
    EXPECT_EQ(started, 1);
}

TEST(TaskGroup, AGroupStoppedBeforeItStartsRunsNothing) {
    std::stop_source stop;
    stop.request_stop();
    std::atomic<int> started = 0;
    EXPECT_THROW(TaskGroup::run(
                     3, 3, [&](std::size_t, std::stop_token) { ++started; }, stop.get_token()),
                 CancellationError);
    EXPECT_EQ(started, 0);

    // Nothing to run is not a stop.
    EXPECT_NO_THROW(TaskGroup::run(
        0, 3, [&](std::size_t, std::stop_token) { ++started; }, stop.get_token()));
    EXPECT_EQ(started, 0);
}

TEST(TaskGroup, ATaskThatIgnoresTheStopStillCompletesTheGroup) {
    // Both tasks ran to the end although the stop came in between: the results are whole.
    std::stop_source stop;
    Occupancy occupancy;
    std::atomic<int> finished = 0;
    TaskGroup::run(
        2, 2,
        [&](std::size_t, std::stop_token) {
            occupancy.enter();
            occupancy.waitForRunning(2);
            stop.request_stop();
            ++finished;
        },
        stop.get_token());
    EXPECT_EQ(finished, 2);
}
