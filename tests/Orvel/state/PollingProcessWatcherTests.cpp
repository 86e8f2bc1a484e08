#include "Orvel/state/PollingProcessWatcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/Orvel/state/ManualTimers.h"
#include "tests/engine/apps/FakeAppPlatform.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

TEST(PollingProcessWatcher, FiresOnlyWhenABundleProcessAppearsOrGoes) {
    struct Step {
        const char* name;
        std::vector<std::filesystem::path> running;
        std::int32_t firstProcessID;
        // How long the test lets pass after the change.
        std::chrono::milliseconds wait;
        int expectFired;
    };
    // Each row continues from the one before.
    const std::vector<Step> steps{
        {"nothing changed", {"/Apps/Mail.app"}, 500, 2000ms, 0},
        {"an app is launched", {"/Apps/Mail.app", "/Apps/Notes.app"}, 500, 2000ms, 1},
        {"not looked yet", {"/Apps/Mail.app"}, 500, 1999ms, 0},
        {"an app quits", {"/Apps/Mail.app"}, 500, 1ms, 1},
        {"quiet looks fire nothing", {"/Apps/Mail.app"}, 500, 6000ms, 0},
        {"the same app started again", {"/Apps/Mail.app"}, 700, 2000ms, 1},
    };
    testing::FakeAppPlatform platform;
    testing::ManualTimers timers;
    platform.running = {"/Apps/Mail.app"};
    PollingProcessWatcher watcher(platform, timers);
    int fired = 0;
    auto subscription = watcher.subscribe([&] { ++fired; });
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        platform.running = step.running;
        platform.firstProcessID = step.firstProcessID;
        fired = 0;
        timers.advance(step.wait);
        EXPECT_EQ(fired, step.expectFired);
    }

    // Without a subscriber nothing is looked at, and nothing fires.
    subscription.reset();
    fired = 0;
    platform.running.clear();
    const int looks = timers.fired;
    timers.advance(10s);
    EXPECT_EQ(timers.fired, looks);
    EXPECT_EQ(fired, 0);
}

} // namespace
} // namespace orvel
