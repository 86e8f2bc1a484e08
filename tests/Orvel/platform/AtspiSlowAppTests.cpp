// Apps that are alive but slow or large: a read waits for every answer of an app that keeps answering,
// and finds the showing rows of long tables wherever they lie in the window.

#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <optional>
#include <thread>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "engine/capture/AXReader.h"
#include "tests/Orvel/platform/RealDesktop.h"
#include "tests/Orvel/platform/desktop/AccessibleWindow.h"
#include "tests/Orvel/platform/desktop/NodeCount.h"

namespace orvel {
namespace {

using std::chrono::milliseconds;

bool shows(const AXNode& node, const std::string& text) {
    if (node.title == text || node.value == text || node.label == text)
        return true;
    for (const AXNode& child : node.children)
        if (shows(child, text))
            return true;
    return false;
}

// An element whose read keeps the time-out it was given, whatever the reader sets, so that a test can
// set it against how long the slowed read takes as a whole.
class FixedTimeOut : public AXElement {
  public:
    explicit FixedTimeOut(AXElementRef inner) : m_inner(std::move(inner)) {}
    std::optional<AXValue> attribute(const std::string& name) const override {
        return m_inner->attribute(name);
    }
    void setMessagingTimeout(double) override {}
    void setStopToken(std::stop_token stop) override { m_inner->setStopToken(std::move(stop)); }
    bool cut() const override { return m_inner->cut(); }

  private:
    AXElementRef m_inner;
};

class GivenTimeOut : public AXPlatform {
  public:
    GivenTimeOut(const AXPlatform& inner, double seconds) : m_inner(inner), m_seconds(seconds) {}
    bool isTrusted() const override { return m_inner.isTrusted(); }
    void requestTrust() const override { m_inner.requestTrust(); }
    AXElementRef application(pid_t pid) const override {
        AXElementRef application = m_inner.application(pid);
        if (!application)
            return nullptr;
        application->setMessagingTimeout(m_seconds);
        return std::make_shared<FixedTimeOut>(std::move(application));
    }

  private:
    const AXPlatform& m_inner;
    double m_seconds;
};

// Pauses the app 70 ms of every 100 until it ends; it answers every question within 70 ms.
class Stutter {
  public:
    explicit Stutter(pid_t pid)
        : m_thread([pid](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  ::kill(pid, SIGSTOP);
                  std::this_thread::sleep_for(milliseconds(70));
                  ::kill(pid, SIGCONT);
                  std::this_thread::sleep_for(milliseconds(30));
              }
          }) {}

  private:
    std::jthread m_thread;
};

// The app shares one CPU with a busy loop, at a lower priority.
class Starve {
  public:
    explicit Starve(pid_t pid) : m_pid(pid) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(0, &one);
        sched_setaffinity(pid, sizeof(one), &one);
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 5);
        m_busy = std::jthread([one](std::stop_token stop) {
            pthread_setaffinity_np(pthread_self(), sizeof(one), &one);
            std::atomic<unsigned long> spins = 0;
            while (!stop.stop_requested())
                spins.fetch_add(1, std::memory_order_relaxed);
        });
    }
    ~Starve() {
        m_busy.request_stop();
        m_busy.join();
        setpriority(PRIO_PROCESS, static_cast<id_t>(m_pid), 0);
    }
    Starve(const Starve&) = delete;
    Starve& operator=(const Starve&) = delete;

  private:
    pid_t m_pid;
    std::jthread m_busy;
};

TEST(AtspiSlowAppTests, AnAppThatKeepsAnsweringIsReadWholeHoweverSlowly) {
    struct Case {
        std::string name;
        std::function<std::shared_ptr<void>(pid_t)> slowDown;
    };
    const std::vector<Case> cases{
        {"an app paused 70 ms of every 100", [](pid_t pid) { return std::make_shared<Stutter>(pid); }},
        {"an app starved of CPU", [](pid_t pid) { return std::make_shared<Starve>(pid); }},
    };
    testing::AccessibleDesktop& desktop = testing::realDesktop();
    if (!desktop.unavailable().empty())
        GTEST_SKIP() << desktop.unavailable() << ": the read of real windows is not tested";
    constexpr int labels = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<pid_t> pid =
            desktop.show({testing::elementCountArgument, QString::number(labels)});
        ASSERT_TRUE(pid) << desktop.unavailable();
        int whole = 0;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                whole = testing::nodeCount(AXReader::windows(desktop.platform(), *pid, 5000));
                return whole > labels;
            },
            60000));
        // The time-out is the reader's own 2 s, or the unhindered read on this machine as loaded as it is
        // when that is longer: longer than any one answer of the slowed app, yet shorter than the slowed
        // read as a whole, so a deadline over all its answers would cut it. A shorter one makes a starved
        // app's first answer miss it on a busy machine.
        const auto before = std::chrono::steady_clock::now();
        AXReader::windows(desktop.platform(), *pid, 5000);
        const double unhindered =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        const GivenTimeOut platform(desktop.platform(), std::max(2.0, 0.8 * unhindered + 0.15));
        AXReader::ReadOutcome outcome;
        int read = 0;
        {
            const std::shared_ptr<void> slow = c.slowDown(*pid);
            read = testing::nodeCount(AXReader::windows(platform, *pid, 5000, {}, &outcome));
        }
        EXPECT_EQ(read, whole);
        EXPECT_FALSE(outcome.cutFrom) << "the read was cut at window " << *outcome.cutFrom;
    }
}

// Ten tables of 600 rows and five columns, a few rows of each showing: every table's showing cells are
// read, the last table's as the first's, and no row scrolled out of view; the columns of the first table
// that lie outside its view, over its neighbours, are not read, nor are their headers.
TEST(AtspiSlowAppTests, EveryShowingCellOfManyLongTablesIsRead) {
    constexpr int tables = 10;
    constexpr int wide = 0;
    constexpr int lastColumn = testing::tableColumns - 1;
    testing::AccessibleDesktop& desktop = testing::realDesktop();
    if (!desktop.unavailable().empty())
        GTEST_SKIP() << desktop.unavailable() << ": the read of real windows is not tested";
    const std::optional<pid_t> pid = desktop.show({testing::tableCountArgument, QString::number(tables)});
    ASSERT_TRUE(pid) << desktop.unavailable();
    AXReader::WindowList windows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            windows = AXReader::windows(desktop.platform(), *pid, 5000);
            return !windows.empty() &&
                   shows(windows.front().second, testing::cellText(tables - 1, 0, lastColumn));
        },
        60000))
        << testing::nodeCount(windows) << " nodes read";
    AXReader::ReadOutcome outcome;
    windows = AXReader::windows(desktop.platform(), *pid, 5000, {}, &outcome);
    ASSERT_EQ(windows.size(), 1u);
    const AXNode& window = windows.front().second;
    EXPECT_FALSE(outcome.cutFrom);
    struct Case {
        std::string text;
        bool read;
    };
    auto cases = [](int table) {
        if (table == wide)
            return std::vector<Case>{
                {testing::headerText(table, 0), true},
                {testing::cellText(table, 0, 0), true},
                {testing::cellText(table, 3, 0), true},
                {testing::headerText(table, 1), false},
                {testing::headerText(table, lastColumn), false},
                {testing::cellText(table, 0, 1), false},
                {testing::cellText(table, 3, lastColumn), false},
                {testing::cellText(table, 20, 0), false},
            };
        return std::vector<Case>{
            {testing::headerText(table, 0), true},
            {testing::headerText(table, lastColumn), true},
            {testing::cellText(table, 0, 0), true},
            {testing::cellText(table, 0, 1), true},
            {testing::cellText(table, 3, 0), true},
            {testing::cellText(table, 3, 1), true},
            {testing::cellText(table, 20, 0), false},
            {testing::cellText(table, 300, 0), false},
            {testing::cellText(table, testing::tableRows - 1, 0), false},
        };
    };
    for (int table = 0; table < tables; ++table) {
        for (const Case& c : cases(table))
            EXPECT_EQ(shows(window, c.text), c.read) << c.text;
        // Every row that shows in part shows whole, up to the last cell the viewport holds.
        const int shownColumns = table == wide ? 1 : testing::tableColumns;
        int lastRow = 0;
        while (shows(window, testing::cellText(table, lastRow + 1, 0)))
            ++lastRow;
        for (int row = 0; row <= lastRow; ++row)
            for (int column = 0; column < shownColumns; ++column)
                EXPECT_TRUE(shows(window, testing::cellText(table, row, column)))
                    << testing::cellText(table, row, column);
    }
    // A few hundred nodes: the showing cells and headers, not the thousands scrolled away.
    EXPECT_LT(testing::nodeCount(window), 1000);

    // The menu bar lies deeper than the tables' cells: its search lists none of them.
    AXReader::ReadOutcome menuOutcome;
    const std::optional<AXNode> bar = AXReader::menuBar(desktop.platform(), *pid, 3000, {}, &menuOutcome);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(shows(*bar, testing::tablesMenuTitle));
    EXPECT_FALSE(menuOutcome.cutFrom);
}

} // namespace
} // namespace orvel
