#include <QTest>

#include <chrono>
#include <csignal>
#include <optional>
#include <stop_token>
#include <thread>

#include <gtest/gtest.h>

#include "engine/capture/AXReader.h"
#include "tests/Orvel/platform/RealDesktop.h"
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"
#include "tests/Orvel/platform/desktop/NodeCount.h"

namespace orvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A stopped window program is let go again whatever the case's outcome, so that the desktop can end it.
class Hang {
  public:
    explicit Hang(pid_t pid) : m_pid(pid) {}
    Hang(const Hang&) = delete;
    Hang& operator=(const Hang&) = delete;
    ~Hang() {
        if (m_stopped)
            ::kill(m_pid, SIGCONT);
    }
    void start() {
        m_stopped = true;
        ::kill(m_pid, SIGSTOP);
    }

  private:
    pid_t m_pid;
    bool m_stopped = false;
};

TEST(AtspiHangTests, AHungAppCostsOneTimeOutPerReadAndAStopEndsTheReadAtOnce) {
    struct Case {
        std::string name;
        QStringList window;
        bool menuBar;
        // When the app stops answering, counted from the start of the read; negative: before it.
        std::optional<milliseconds> hangAt;
        // When the person stops the read.
        std::optional<milliseconds> stopAt;
        // The longest the read may go on after the hang or the stop.
        milliseconds bound;
        // Whether the read keeps anything: what was read before a hang is kept; nothing can be read of an
        // app hung from the start. Absent where it depends on how far the read came before a stop.
        std::optional<bool> readsSome;
    };
    const milliseconds oneTimeOut(static_cast<int>(AXReader::windowMessagingTimeout * 1000));
    // Less than a second time-out: a read that waited twice fails the case.
    const milliseconds withinOneTimeOut = oneTimeOut * 2 - milliseconds(100);
    const QStringList large{testing::elementCountArgument, "5000"};
    const std::vector<Case> cases{
        {"a window read of a hung app", {}, false, milliseconds(-1), std::nullopt, withinOneTimeOut, false},
        {"a menu bar read of a hung app", {}, true, milliseconds(-1), std::nullopt, withinOneTimeOut, false},
        {"an app that hangs during a large read", large, false, milliseconds(1000), std::nullopt,
         withinOneTimeOut, true},
        {"a stop during the read of a hung app",
         {},
         false,
         milliseconds(-1),
         milliseconds(300),
         milliseconds(500),
         false},
        {"a stop during a large read", large, false, std::nullopt, milliseconds(1000), milliseconds(500),
         std::nullopt},
    };
    testing::AccessibleDesktop& desktop = testing::realDesktop();
    if (!desktop.unavailable().empty())
        GTEST_SKIP() << desktop.unavailable() << ": the read of real windows is not tested";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<pid_t> pid = desktop.show(c.window);
        ASSERT_TRUE(pid) << desktop.unavailable();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const auto windows = AXReader::windows(desktop.platform(), *pid, 5000);
                return !windows.empty() && testing::nodeCount(windows.front().second) > 1;
            },
            // A loaded machine may take long to show 5,000 labels; the wait ends as soon as they show.
            90000));

        Hang hang(*pid);
        std::stop_source stop;
        if (c.hangAt && c.hangAt->count() < 0)
            hang.start();
        const Clock::time_point start = Clock::now();
        std::optional<Clock::time_point> cause;
        // The hang, then the stop, each at its moment; what came last is what the read answers to.
        std::jthread actor([&] {
            if (c.hangAt && c.hangAt->count() >= 0) {
                std::this_thread::sleep_until(start + *c.hangAt);
                hang.start();
                cause = Clock::now();
            }
            if (c.stopAt) {
                std::this_thread::sleep_until(start + *c.stopAt);
                stop.request_stop();
                cause = Clock::now();
            }
        });
        int read = 0;
        if (c.menuBar) {
            if (auto bar = AXReader::menuBar(desktop.platform(), *pid, 3000, stop.get_token()))
                read = testing::nodeCount(*bar);
        } else {
            for (const auto& [title, tree] :
                 AXReader::windows(desktop.platform(), *pid, 5000, stop.get_token()))
                read += testing::nodeCount(tree);
        }
        const Clock::time_point end = Clock::now();
        actor.join();
        const Clock::time_point from = cause.value_or(start);
        EXPECT_LT(end - from, c.bound)
            << "the read went on for " << std::chrono::duration_cast<milliseconds>(end - from).count()
            << " ms";
        if (c.readsSome) {
            EXPECT_EQ(read > 0, *c.readsSome) << read << " nodes read";
        }
    }
}

// An app that quits during a read leaves a read that is told as cut, with what was read before.
TEST(AtspiHangTests, AnAppKilledDuringAReadLeavesACutRead) {
    testing::AccessibleDesktop& desktop = testing::realDesktop();
    if (!desktop.unavailable().empty())
        GTEST_SKIP() << desktop.unavailable() << ": the read of real windows is not tested";
    const std::optional<pid_t> pid = desktop.show({testing::elementCountArgument, "3000"});
    ASSERT_TRUE(pid) << desktop.unavailable();
    int whole = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            whole = testing::nodeCount(AXReader::windows(desktop.platform(), *pid, 5000));
            return whole > 3000;
        },
        90000));
    // The app ends once the read has asked its first questions.
    AXReader::ReadOutcome outcome;
    int read = 0;
    {
        std::jthread killer([&] {
            std::this_thread::sleep_for(milliseconds(100));
            ::kill(*pid, SIGKILL);
        });
        for (const auto& [title, tree] : AXReader::windows(desktop.platform(), *pid, 5000, {}, &outcome))
            read += testing::nodeCount(tree);
    }
    if (read >= whole)
        GTEST_SKIP() << "the read ended before the app did";
    EXPECT_TRUE(outcome.cutFrom) << read << " of " << whole << " nodes read as whole";
}

} // namespace
} // namespace orvel
