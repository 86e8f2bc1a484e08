#pragma once
// A workspace in a scratch home: a generated app bundle, its data folder, the application's settings,
// an in-memory notification bus and timers that the test advances. Everything is headless.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Workspace.h"
#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "core/StringsFiles.h"
#include "engine/capture/InMemoryNotificationBus.h"
#include "tests/Orvel/state/EventLoop.h"
#include "tests/Orvel/state/FakeProcessWatcher.h"
#include "tests/Orvel/state/ManualTimers.h"
#include "tests/Orvel/state/TestEngine.h"
#include "tests/engine/apps/BundleBuilder.h"
#include "tests/engine/apps/FakeAppPlatform.h"
#include "tests/engine/capture/LiveFakes.h"
#include "tests/support/ScratchFolder.h"

namespace orvel::testing {

inline constexpr Date workspaceStart{std::chrono::milliseconds{1'750'000'000'000}};

// A string of the table "Main".
inline SourceString sourceString(std::string key, std::string text, bool translate = true) {
    SourceString s;
    s.table = "Main";
    s.key = std::move(key);
    s.text = std::move(text);
    s.translate = translate;
    return s;
}

inline StringTranslation translated(std::string text,
                                    StringTranslation::Origin origin = StringTranslation::Origin::model) {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.origin = origin;
    return translation;
}

// A string catalog of the source language "en" holding `strings` (key to English; an empty English
// leaves the key as the text).
inline std::string catalogJson(const std::map<std::string, std::string>& strings) {
    std::string catalog = R"({"sourceLanguage": "en", "strings": {)";
    bool first = true;
    for (const auto& [key, text] : strings) {
        catalog += first ? "" : ",";
        first = false;
        catalog += json::Json(key).dump() + ": ";
        catalog += text.empty() ? "{}"
                                : R"({"localizations": {"en": {"stringUnit": {"value": )" +
                                      json::Json(text).dump() + "}}}}";
    }
    return catalog + "}}";
}

// A workspace's file work (its load and its writes) made at once until `holding`, then held until the
// test lets each go: the test decides what happens while a write is under way.
struct HeldFileWork {
    std::vector<std::function<std::function<void()>()>> held;
    bool holding = false;

    void take(std::function<std::function<void()>()> work) {
        if (holding) {
            held.push_back(std::move(work));
        } else if (std::function<void()> then = work()) {
            then();
        }
    }
    // The first work held ends, and its answer reaches the main thread after what the work posted there
    // meanwhile, as a worker's answer does.
    void releaseOne() {
        ASSERT_FALSE(held.empty());
        auto work = std::move(held.front());
        held.erase(held.begin());
        std::function<void()> then = work();
        processPendingEvents();
        if (then)
            then();
        processPendingEvents();
    }
};

class WorkspaceTest : public ::testing::Test {
  protected:
    static constexpr const char* bundleID = "com.example.Notes";

    WorkspaceTest() { OrvelPaths::setHomeOverride(scratch.path() / "home"); }
    ~WorkspaceTest() override { OrvelPaths::setHomeOverride(std::nullopt); }

    Services services() {
        return Services{.defaults = defaults,
                        .bus = bus,
                        .platform = platform,
                        .clock = clock,
                        .timers = timers,
                        .home = scratch.path() / "home",
                        .engine = engine,
                        .preferences = &preferences,
                        .processes = &processes,
                        .runFileWork = [this](QObject*, std::function<std::function<void()>()> work) {
                            writeInPlace(std::move(work));
                        }};
    }

    // Project writes made at once, their answers taken at once: a write is on disk when the call that
    // asked for it returns. Tests of the writes' own order put their own runner here.
    void writeInPlace(std::function<std::function<void()>()> work) {
        ++writesMade;
        if (std::function<void()> then = work())
            then();
    }

    // The app "Notes" whose one catalog "Main" holds `catalogStrings` (key to English; an empty English
    // leaves the key as the text).
    TranslatableApp makeApp(const std::map<std::string, std::string>& catalogStrings = {{"Open", ""}}) {
        const auto bundle = makeBundle(scratch, "Apps/Notes.app", {{"CFBundleIdentifier", bundleID}},
                                       {{"Main.xcstrings", catalogJson(catalogStrings)}});
        auto app = TranslatableApp::open(bundle, platform);
        if (!app)
            throw std::runtime_error("the test bundle is not translatable");
        return *app;
    }

    std::unique_ptr<Workspace> open(const TranslatableApp& app) {
        return std::make_unique<Workspace>(app, services());
    }
    // The same with its file work going through `fileWork`.
    std::unique_ptr<Workspace> open(const TranslatableApp& app, HeldFileWork& fileWork) {
        Services held = services();
        held.runFileWork = [&fileWork](QObject*, std::function<std::function<void()>()> work) {
            fileWork.take(std::move(work));
        };
        return std::make_unique<Workspace>(app, held);
    }

    void writeProject(const TranslatableApp& app, const std::string& language,
                      const std::map<std::string, StringTranslation>& translations = {}) {
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = language;
        project.translations = translations;
        project.save(app);
    }

    void publishState(const TranslatableApp& app, const AppState& state) {
        StringsFiles::writeAtomically(OrvelProtocol::encode(state),
                                      app.dataFolder() / OrvelProtocol::stateFile);
    }

    void postState() {
        bus.post(Notification{.name = std::string(OrvelProtocol::stateNotification), .object = bundleID});
    }

    // The project writes the workspaces made so far.
    int writesMade = 0;
    ScratchFolder scratch;
    DefaultsStore defaults = *DefaultsStore::open(Services::defaultsDomain, scratch.path() / "settings");
    InMemoryNotificationBus bus;
    FakeAppPlatform platform;
    FakeLiveClock clock{workspaceStart};
    ManualTimers timers;
    TestEngine engine{LiveServices{bus, platform, clock, scratch.path() / "settings"}};
    FakeProcessWatcher processes;
    // The key comes from the environment, so loading it needs no secret store.
    ModelPreferences preferences{defaults, std::make_shared<MemorySecretStore>(),
                                 [](const std::string&) -> std::optional<std::string> { return "test-key"; }};
};

} // namespace orvel::testing
