#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "Orvel/state/QtTimerFactory.h"
#include "tests/Orvel/state/EventLoop.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

TEST(QtTimerFactory, ARestartedTimerFiresOnceAndAStoppedOneNever) {
    struct Case {
        const char* name;
        std::function<void(RestartableTimer&)> drive;
        int expectedFires;
    };
    const std::vector<Case> cases{
        {"started once", [](RestartableTimer& t) { t.start(0ms); }, 1},
        {"restarted before it ran out", [](RestartableTimer& t) { t.start(0ms), t.start(0ms), t.start(0ms); },
         1},
        {"stopped", [](RestartableTimer& t) { t.start(0ms), t.stop(); }, 0},
        {"never started", [](RestartableTimer&) {}, 0},
    };
    QtTimerFactory factory;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int fires = 0;
        auto timer = factory.makeTimer([&] { ++fires; });
        c.drive(*timer);
        EXPECT_EQ(timer->isActive(), c.expectedFires > 0);
        testing::processUntil([&] { return fires > c.expectedFires; }, 50);
        EXPECT_EQ(fires, c.expectedFires);
        EXPECT_FALSE(timer->isActive());
    }
}

} // namespace
} // namespace orvel
