#include "Orvel/state/WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace orvel {
namespace {

// Tasks that hold their thread until released, and what was seen of them.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int running = 0;
    int mostAtOnce = 0;
    std::vector<int> started;

    void pass(int task) {
        std::unique_lock lock(mutex);
        started.push_back(task);
        mostAtOnce = std::max(mostAtOnce, ++running);
        changed.notify_all();
        changed.wait(lock, [&] { return open; });
        --running;
    }
    void waitForStarted(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return started.size() >= count; });
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

TEST(WorkerPool, RunsEveryTaskInOrderOnAtMostItsLimitOfThreads) {
    struct Case {
        const char* name;
        int limit;
        int tasks;
        int expectThreads;
    };
    for (const Case& c : {Case{"fewer tasks than threads", 4, 2, 2}, Case{"one thread", 1, 5, 1},
                          Case{"more tasks than threads", 3, 12, 3}}) {
        SCOPED_TRACE(c.name);
        Gate gate;
        WorkerPool pool(c.limit);
        for (int task = 0; task < c.tasks; ++task)
            pool.post([&gate, task] { gate.pass(task); });
        gate.waitForStarted(static_cast<std::size_t>(c.expectThreads));
        // Those beyond the limit wait: none runs while the first ones hold every thread.
        EXPECT_FALSE(pool.waitIdle(std::chrono::milliseconds(20)));
        {
            std::lock_guard lock(gate.mutex);
            EXPECT_EQ(gate.started.size(), static_cast<std::size_t>(c.expectThreads));
        }
        gate.release();
        ASSERT_TRUE(pool.waitIdle(std::chrono::seconds(10)));
        EXPECT_EQ(pool.threadsStarted(), c.expectThreads);
        EXPECT_EQ(gate.mostAtOnce, c.expectThreads);
        ASSERT_EQ(gate.started.size(), static_cast<std::size_t>(c.tasks));
        // Started in the order handed in: on one thread exactly, on several each among the first free.
        if (c.limit == 1) {
            EXPECT_TRUE(std::is_sorted(gate.started.begin(), gate.started.end()));
        }
    }
}

TEST(WorkerPool, ThreadsAreReusedAndTasksMayHandInMore) {
    WorkerPool pool(8);
    std::atomic<int> ran = 0;
    for (int round = 0; round < 20; ++round) {
        pool.post([&] {
            ++ran;
            // Handed in from a thread of the pool, it runs once this one is done.
            pool.post([&] { ++ran; });
        });
        ASSERT_TRUE(pool.waitIdle(std::chrono::seconds(10)));
    }
    EXPECT_EQ(ran.load(), 40);
    EXPECT_LE(pool.threadsStarted(), 2);
}

TEST(WorkerPool, DestroyingThePoolRunsWhatWaits) {
    std::atomic<int> ran = 0;
    {
        Gate gate;
        WorkerPool pool(1);
        pool.post([&gate] { gate.pass(0); });
        for (int task = 0; task < 3; ++task)
            pool.post([&] { ++ran; });
        gate.waitForStarted(1);
        gate.release();
    }
    EXPECT_EQ(ran.load(), 3);
}

// At the end of the program nothing may start that was not running: what waits and what comes later is
// dropped, what runs finishes, and what a dropped task held is let go.
TEST(WorkerPool, AClosedPoolStartsNothingMoreAndLetsTheRunningTaskFinish) {
    Gate gate;
    WorkerPool pool(1);
    std::atomic<int> ran = 0;
    auto held = std::make_shared<int>(0);
    pool.post([&gate] { gate.pass(0); });
    pool.post([&ran, held] { ++ran; });
    gate.waitForStarted(1);
    pool.close();
    pool.post([&ran, held] { ++ran; });
    EXPECT_EQ(held.use_count(), 1);
    EXPECT_FALSE(pool.waitIdle(std::chrono::milliseconds(0)));
    gate.release();
    ASSERT_TRUE(pool.waitIdle(std::chrono::seconds(10)));
    EXPECT_EQ(ran.load(), 0);
    EXPECT_EQ(gate.started.size(), 1u);
}

// The end of the program waits for the tasks that write, never for a read held by a slow service.
TEST(WorkerPool, OnlyTheAwaitedTasksAreWaitedFor) {
    struct Case {
        const char* name;
        // The first task holds the pool's one thread until released; the second waits behind it.
        AtTheEnd first, second;
        bool closed;
        // What waitAwaited(0) answers while the first task is held.
        bool awaitedIdle;
    };
    const std::vector<Case> cases{
        {"a read under way", AtTheEnd::leftBehind, AtTheEnd::leftBehind, false, true},
        {"a write waiting behind a read", AtTheEnd::leftBehind, AtTheEnd::awaited, false, false},
        {"a write under way", AtTheEnd::awaited, AtTheEnd::leftBehind, false, false},
        {"a write dropped by the close", AtTheEnd::leftBehind, AtTheEnd::awaited, true, true},
        {"a write under way at the close", AtTheEnd::awaited, AtTheEnd::awaited, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Gate gate;
        WorkerPool pool(1);
        pool.post([&gate] { gate.pass(0); }, c.first);
        pool.post([] {}, c.second);
        gate.waitForStarted(1);
        if (c.closed)
            pool.close();
        EXPECT_EQ(pool.waitAwaited(std::chrono::milliseconds(0)), c.awaitedIdle);
        EXPECT_FALSE(pool.waitIdle(std::chrono::milliseconds(0)));
        gate.release();
        EXPECT_TRUE(pool.waitAwaited(std::chrono::seconds(10)));
        EXPECT_TRUE(pool.waitIdle(std::chrono::seconds(10)));
    }
}

} // namespace
} // namespace orvel
