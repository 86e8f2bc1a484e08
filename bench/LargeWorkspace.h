#pragma once
// One opened workspace of a large generated app (50,000 strings in 40 tables, half of them translated),
// shared by the benchmarks of the string list and of the strings table.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Workspace.h"
#include "bench/StateBenchSupport.h"
#include "core/OrvelPaths.h"
#include "engine/capture/InMemoryNotificationBus.h"

namespace orvel::bench {

namespace fs = std::filesystem;

constexpr int stringCount = 50'000;

// Strings of 40 tables with a sprinkling of placeholders and letterless texts; half of them translated,
// a tenth of those by the person.
struct GeneratedApp {
    std::vector<orvel::SourceString> strings;
    orvel::TranslationProject project;
};

// The first `count` strings of the large app, the same for every size.
inline GeneratedApp generatedApp(int count = stringCount) {
    static const std::vector<std::string> words{"open",  "save",   "file",     "folder", "window",  "show",
                                                "hide",  "delete", "copy",     "paste",  "export",  "import",
                                                "print", "share",  "settings", "Öffnen", "account", "sync",
                                                "the",   "all",    "selected", "items",  "now",     "okay"};
    std::mt19937 random(50000);
    GeneratedApp app;
    app.project.app = "com.example.Large";
    app.project.language = "de";
    for (int i = 0; i < count; ++i) {
        orvel::SourceString string;
        string.table = "Table" + std::to_string(i % 40);
        string.key = "key." + std::to_string(i);
        const int kind = static_cast<int>(random() % 20);
        if (kind == 0)
            string.text = "%@";
        else if (kind == 1)
            string.text = "%d " + words[random() % words.size()];
        else
            for (int w = 1 + static_cast<int>(random() % 6); w > 0; --w)
                string.text += (string.text.empty() ? "" : " ") + words[random() % words.size()];
        string.translate = random() % 50 != 0;
        if (random() % 2 == 0) {
            orvel::StringTranslation translation;
            translation.text = "übersetzt " + string.text;
            translation.source = string.text;
            if (random() % 10 == 0)
                translation.origin = orvel::StringTranslation::Origin::person;
            app.project.translations.emplace(string.id(), std::move(translation));
        }
        app.strings.push_back(std::move(string));
    }
    return app;
}

// One opened workspace of the generated app, in an empty scratch home, shared by the benchmarks.
struct Fixture {
    Fixture() {
        char folderPattern[] = "/tmp/orvel-bench-XXXXXX";
        home = mkdtemp(folderPattern);
        orvel::OrvelPaths::setHomeOverride(home);
        GeneratedApp generated = generatedApp();
        engine.strings = generated.strings;
        orvel::TranslatableApp app;
        app.bundleURL = home / "Large.app";
        app.bundleIdentifier = "com.example.Large";
        const orvel::Services services{.defaults = *orvel::DefaultsStore::open("Orvel", home / "settings"),
                                       .bus = bus,
                                       .platform = orvel::AppPlatform::system(),
                                       .clock = orvel::LiveClock::system(),
                                       .timers = timers,
                                       .home = home,
                                       .engine = engine};
        workspace = std::make_unique<orvel::Workspace>(app, services);
        workspace->setLanguage("de");
        // Assigned once the workspace's own load is in, which would otherwise replace it.
        settle();
        workspace->setProject(generated.project);
        settle();
    }
    ~Fixture() {
        workspace.reset();
        // The writes its workers still make go into the home before it goes.
        orvel::waitForBackgroundWork(std::chrono::seconds(10));
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    fs::path home;
    orvel::InMemoryNotificationBus bus;
    orvel::QtTimerFactory timers;
    ScriptedEngine engine;
    std::unique_ptr<orvel::Workspace> workspace;
};

inline Fixture& fixture() {
    application();
    static Fixture& shared = untilProgramEnd<Fixture>();
    return shared;
}

} // namespace orvel::bench
