#pragma once
// A library over the workspace fixture's scratch home: apps the test installs by hand, launches and
// quits it fires, preferences in the scratch defaults and a wait until all background work has ended.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/Library.h"
#include "Orvel/state/ModelPreferences.h"
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

    std::unique_ptr<Library> makeLibrary() { return std::make_unique<Library>(services(), preferences); }

    // Runs the main thread until no worker runs and nothing they handed back starts another.
    static void settle() {
        ASSERT_TRUE(processUntil([] {
            if (backgroundWorkers() != 0)
                return false;
            processPendingEvents();
            return backgroundWorkers() == 0;
        }));
    }

    // A launch or quit, and the rescan it starts.
    void rescan() {
        processes.launchOrQuit();
        settle();
    }

    ModelPreferences preferences{defaults, secrets, [](const std::string&) { return std::nullopt; }};
};

} // namespace orvel::testing
