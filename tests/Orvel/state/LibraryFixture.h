#pragma once
// A library over the workspace fixture's scratch home: apps the test installs by hand, launches and
// quits it fires, and a wait until all background work has ended.

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/Library.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel::testing {

class LibraryTest : public WorkspaceTest {
  protected:
    ~LibraryTest() override { settle(); }

    // A record of an app at "Apps/<folder>.app"; nothing of it needs to exist on disk.
    TranslatableApp app(const std::string& identifier, std::optional<std::string> version = "1",
                        const std::string& folder = "Notes") {
        TranslatableApp app;
        app.bundleURL = scratch.path() / "Apps" / (folder + ".app");
        app.bundleIdentifier = identifier;
        app.name = folder;
        app.sourceLanguage = "en";
        app.version = std::move(version);
        return app;
    }

    // An app bundle at "Apps/<folder>.app" whose catalog "Main" holds `strings` (key to English).
    TranslatableApp bundle(const std::string& identifier, const std::string& version,
                           const std::string& folder, const std::map<std::string, std::string>& strings) {
        const auto url =
            makeBundle(scratch, "Apps/" + folder + ".app",
                       {{"CFBundleIdentifier", identifier}, {"CFBundleShortVersionString", version}},
                       {{"Main.xcstrings", catalogJson(strings)}});
        return TranslatableApp::open(url, platform).value();
    }

    std::unique_ptr<Library> makeLibrary() { return std::make_unique<Library>(services()); }

    // A library that knows `app` alone, its German project shown and settled.
    std::unique_ptr<Library> libraryShowingGerman(const TranslatableApp& app) {
        defaults.set("language." + app.bundleIdentifier, std::string("de"));
        engine.install({app});
        auto library = makeLibrary();
        settle();
        library->workspace(app);
        settle();
        return library;
    }

    // Runs the main thread until no worker runs and nothing they handed back starts another, three
    // rounds in a row (a worker that starts and ends within one round is seen by the next).
    static void settle() {
        const auto idle = [] { return waitForBackgroundWork(std::chrono::milliseconds(0)); };
        for (int quietRounds = 0; quietRounds < 3;) {
            ASSERT_TRUE(processUntil(idle));
            processPendingEvents();
            quietRounds = idle() ? quietRounds + 1 : 0;
        }
    }

    // A launch or quit, and the rescan it starts.
    void rescan() {
        processes.launchOrQuit();
        settle();
    }
};

} // namespace orvel::testing
