#include "Orvel/state/Background.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "tests/Orvel/state/ProcessUntil.h"

namespace orvel {
namespace {

using testing::processUntil;

TEST(Background, ContinuationRunsOnTheMainThreadOnlyWhileTheReceiverLives) {
    struct Case {
        const char* name;
        bool destroyReceiver;
        bool expectRun;
    };
    for (const Case& c : {Case{"receiver alive", false, true}, Case{"receiver destroyed", true, false}}) {
        SCOPED_TRACE(c.name);
        auto receiver = std::make_unique<QObject>();
        // The worker hands back its continuation only once the receiver's fate is settled.
        auto release = std::make_shared<std::atomic<bool>>(false);
        bool ran = false;
        bool onMain = false;
        runInBackground(receiver.get(), [&, release]() -> std::function<void()> {
            while (!release->load())
                std::this_thread::yield();
            return [&] {
                ran = true;
                onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
            };
        });
        if (c.destroyReceiver)
            receiver.reset();
        release->store(true);
        // A continuation that must not run gets a short chance to show that it does.
        processUntil([&] { return ran; }, c.expectRun ? 10000 : 300);
        EXPECT_EQ(ran, c.expectRun);
        EXPECT_EQ(onMain, c.expectRun);
    }
}

TEST(Background, WaitingForBackgroundWorkEndsWhenTheLastWorkerEnds) {
    struct Case {
        const char* name;
        bool releaseWorker;
        bool expectDone;
    };
    for (const Case& c : {Case{"worker still busy", false, false}, Case{"worker ended", true, true}}) {
        SCOPED_TRACE(c.name);
        auto release = std::make_shared<std::atomic<bool>>(false);
        QObject receiver;
        runInBackground(&receiver, [release]() -> std::function<void()> {
            while (!release->load())
                std::this_thread::yield();
            return {};
        });
        if (c.releaseWorker)
            release->store(true);
        EXPECT_EQ(waitForBackgroundWork(std::chrono::milliseconds(c.expectDone ? 10000 : 50)), c.expectDone);
        release->store(true);
        EXPECT_TRUE(waitForBackgroundWork(std::chrono::seconds(10)));
    }
}

TEST(Background, SettledWorkRunsOnceNoResultCameBackAndNoAwaitedWorkRunsOrWaits) {
    struct Case {
        const char* name;
        // Work under way that brings nothing back, as a write or a stuck read does, after the result came
        // back; none without.
        std::optional<AtTheEnd> silentWork;
        bool settlesWhileItRuns;
    };
    for (const Case& c : {Case{"after the last result", std::nullopt, true},
                          Case{"not before a write ended", AtTheEnd::awaited, false},
                          Case{"beside a read held by a slow service", AtTheEnd::leftBehind, true}}) {
        SCOPED_TRACE(c.name);
        std::atomic<int> settled = 0;
        std::atomic<bool> onWorker = false;
        const auto mainThread = QThread::currentThread();
        setSettledWork(
            [&] {
                onWorker = QThread::currentThread() != mainThread;
                ++settled;
            },
            std::chrono::milliseconds(30));
        auto release = std::make_shared<std::atomic<bool>>(false);
        QObject receiver;
        bool resultTaken = false;
        runInBackground(&receiver, [&]() -> std::function<void()> {
            if (c.silentWork)
                runInBackground(
                    &receiver,
                    [release]() -> std::function<void()> {
                        while (!release->load())
                            std::this_thread::yield();
                        return {};
                    },
                    *c.silentWork);
            return [&] {
                resultTaken = true;
                // Not before the result is in.
                EXPECT_EQ(settled.load(), 0);
            };
        });
        ASSERT_TRUE(processUntil([&] { return resultTaken; }));
        if (c.silentWork) {
            // Many times the delay, with the silent work still under way.
            processUntil([&] { return settled.load() > 0; }, 300);
            EXPECT_EQ(settled.load() > 0, c.settlesWhileItRuns);
            release->store(true);
        }
        EXPECT_TRUE(processUntil([&] { return settled.load() > 0; }));
        // Once: the settled work brings nothing back that would start it again.
        processUntil([] { return false; }, 200);
        EXPECT_EQ(settled.load(), 1);
        EXPECT_TRUE(onWorker.load());
        setSettledWork({}, std::chrono::milliseconds(30));
        EXPECT_TRUE(waitForBackgroundWork(std::chrono::seconds(10)));
    }
}

TEST(Background, TaskSlotKeepsOnlyTheNewestGenerationAndStopsTheOlder) {
    TaskSlot slot;
    TaskSlot::Ticket first = slot.start();
    TaskSlot::Ticket second = slot.start();
    EXPECT_TRUE(first.token.stop_requested());
    EXPECT_FALSE(second.token.stop_requested());
    EXPECT_FALSE(slot.isCurrent(first.generation));
    EXPECT_TRUE(slot.isCurrent(second.generation));

    slot.finish(first.generation);
    EXPECT_TRUE(slot.isRunning());
    slot.finish(second.generation);
    EXPECT_FALSE(slot.isRunning());

    TaskSlot::Ticket third = slot.start();
    slot.cancel();
    EXPECT_TRUE(third.token.stop_requested());
    EXPECT_FALSE(slot.isCurrent(third.generation));
    EXPECT_FALSE(slot.isRunning());
}

} // namespace
} // namespace orvel
