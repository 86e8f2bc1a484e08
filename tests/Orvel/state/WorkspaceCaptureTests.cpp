// Capture and live language of a workspace: the two preconditions, a failed capture that leaves the
// stored map alone, the merge of a capture into "context.json", and the language switch of the app.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "core/FileIO.h"
#include "engine/capture/AppLink.h"
#include "engine/capture/CaptureError.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

namespace orvel::testing {
namespace {

Occurrence seenOn(std::string screen, std::string role) {
    Occurrence occurrence;
    occurrence.screen = std::move(screen);
    occurrence.role = std::move(role);
    return occurrence;
}

TEST_F(WorkspaceRunTest, CaptureMergesWhatItSawOrShowsWhyNot) {
    const TranslatableApp app = appWith({"a", "b"});
    ContextMap stored;
    stored.occurrences[id("a")] = {seenOn("Main Window", "button"), seenOn("Settings", "label")};
    stored.occurrences[id("b")] = {seenOn("Settings", "checkbox")};
    ContextMap captured;
    captured.occurrences[id("a")] = {seenOn("Settings", "menu item")};
    ContextMap merged;
    merged.occurrences[id("a")] = {seenOn("Main Window", "button"), seenOn("Settings", "menu item")};
    // "b" was seen only on a screen the capture visited, where it no longer is.

    struct Case {
        const char* name;
        bool trusted;
        bool running;
        std::exception_ptr error;
        std::optional<Workspace::Problem> expectedProblem;
        bool captures;
        ContextMap expectedContext;
        // Screens the capture read only in part.
        std::vector<std::string> partial = {};
        bool appQuit = false;
    };
    const CaptureError noAnswer = CaptureError::noAnswer();
    // What was known of a screen read only in part stays beside what was read of it.
    ContextMap mergedInPart;
    mergedInPart.occurrences[id("a")] = {seenOn("Main Window", "button"), seenOn("Settings", "label"),
                                         seenOn("Settings", "menu item")};
    mergedInPart.occurrences[id("b")] = {seenOn("Settings", "checkbox")};
    const std::vector<Case> cases{
        {"no accessibility access", false, true, nullptr, Workspace::Problem::accessibility(), false, stored},
        {"the app not running", true, false, nullptr, Workspace::Problem::notRunning(), false, stored},
        {"the capture fails", true, true, std::make_exception_ptr(noAnswer),
         Workspace::Problem::failed(noAnswer.what()), true, stored},
        {"the capture succeeds", true, true, nullptr, std::nullopt, true, merged},
        {"the capture read some screens only in part",
         true,
         true,
         nullptr,
         Workspace::Problem::failed(
             "These screens were read only in part, because the app answered too slowly "
             "or showed more than one read takes in: Settings, Menu bar. What was read "
             "is kept; capture again to read them whole."),
         true,
         mergedInPart,
         {"Settings", "Menu bar"}},
        {"the app quit during the capture",
         true,
         true,
         nullptr,
         Workspace::Problem::failed("The app is not running, so these screens could not be read whole: "
                                    "Settings. What was read is kept; open the app and capture again to "
                                    "read them."),
         true,
         mergedInPart,
         {"Settings"},
         true},
        {"the app quit once every screen was read",
         true,
         true,
         nullptr,
         std::nullopt,
         true,
         merged,
         {},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stored.save(app);
        const std::string storedBytes = FileIO::read(ContextMap::fileURL(app));
        engine.trusted = c.trusted;
        platform.running = c.running ? std::vector{app.bundleURL} : std::vector<std::filesystem::path>{};
        engine.captureError = c.error;
        engine.captureResult.map = captured;
        engine.captureResult.partial = c.partial;
        engine.captureResult.appQuit = c.appQuit;
        auto workspace = openGerman(app);
        int capturingChanges = 0;
        QObject::connect(workspace.get(), &Workspace::capturingChanged, [&] { ++capturingChanges; });
        const int captures = engine.captures;
        const int stateReads = engine.stateReads;

        workspace->capture();
        ASSERT_TRUE(processUntil([&] { return !workspace->capturing(); }));
        processPendingEvents();

        EXPECT_EQ(workspace->problem(), c.expectedProblem);
        EXPECT_EQ(engine.captures - captures, c.captures ? 1 : 0);
        EXPECT_EQ(capturingChanges, c.captures ? 2 : 0);
        EXPECT_EQ(workspace->context(), c.expectedContext);
        EXPECT_EQ(ContextMap::load(app), c.expectedContext);
        if (c.captures && !c.error) {
            EXPECT_TRUE(engine.visitedScreens);
            // The state is read again for the strings the app saw on the way.
            EXPECT_GT(engine.stateReads, stateReads);
        } else {
            EXPECT_EQ(FileIO::read(ContextMap::fileURL(app)), storedBytes);
        }
    }
}

// The capture of an app that stopped answering is stopped by the end of the workspace, so that it tells
// the app to turn its markers off while the program still runs.
TEST_F(WorkspaceRunTest, TheEndOfTheWorkspaceStopsItsCapture) {
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<Workspace>&)> end;
    };
    const std::vector<Case> cases{
        {"the application quits", [](std::unique_ptr<Workspace>& w) { w->quit(); }},
        {"the workspace ends", [](std::unique_ptr<Workspace>& w) { w.reset(); }},
    };
    const TranslatableApp app = appWith({"a"});
    platform.running = {app.bundleURL};
    engine.captureHangs = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app);
        const int captures = engine.captures;
        engine.captureStopped = false;
        workspace->capture();
        ASSERT_TRUE(processUntil([&] { return engine.captures > captures; }));

        c.end(workspace);
        EXPECT_TRUE(waitForBackgroundWork(std::chrono::seconds(20)));
        EXPECT_TRUE(engine.captureStopped);
        if (workspace) {
            processPendingEvents();
            EXPECT_FALSE(workspace->problem());
        }
    }
}

TEST_F(WorkspaceRunTest, TheLiveLanguageIsSwitchedAndTheStateReadAgain) {
    const TranslatableApp app = appWith({"a"});
    auto workspace = openGerman(app);
    struct Case {
        const char* name;
        std::optional<std::string> code;
    };
    const std::vector<Case> cases{{"on", "de"}, {"off", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        state.language = c.code;
        state.updated = clock.now();
        publishState(app, state);
        const std::size_t switches = engine.languageSwitches.get().size();

        workspace->setLive(c.code);
        ASSERT_TRUE(
            processUntil([&] { return workspace->appState() && workspace->appState()->language == c.code; }));

        ASSERT_EQ(engine.languageSwitches.get().size(), switches + 1);
        EXPECT_EQ(engine.languageSwitches.get().back(), c.code);
        // No copy runs: the choice waits in the app's settings for its next launch, or is removed.
        const auto appDefaults = DefaultsStore::open(app.bundleIdentifier, scratch.path() / "settings" /
                                                                               AppLink::appDefaultsFolder);
        ASSERT_TRUE(appDefaults);
        EXPECT_EQ(appDefaults->string(std::string(OrvelProtocol::languageKey)), c.code);
    }
}

} // namespace
} // namespace orvel::testing
