// A translate run of 2,000 strings against a model that answers at once, so that all that is measured is
// what the workspace adds around the model: the worker and its hops to the main thread, and per batch the
// merge into the project, the changes computed again, the project saved and the overlay written, until the
// last write is on disk. Next to a model's seconds per batch this must not count; "per batch" shows what
// it costs.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Workspace.h"
#include "bench/StateBenchSupport.h"
#include "core/OrvelPaths.h"
#include "engine/capture/InMemoryNotificationBus.h"

namespace {

namespace fs = std::filesystem;

constexpr int stringCount = 2000;

std::vector<orvel::SourceString> generatedStrings() {
    static const std::vector<std::string> words{"Open", "the", "file",    "in",  "a",      "new", "window",
                                                "Save", "all", "changes", "now", "Export", "as",  "PDF"};
    std::vector<orvel::SourceString> strings;
    for (int i = 0; i < stringCount; ++i) {
        orvel::SourceString string;
        string.table = "Table" + std::to_string(i % 8);
        string.key = "key." + std::to_string(i);
        for (int w = 0; w < 2 + i % 5; ++w)
            string.text += (w ? " " : "") + words[(i + w * 3) % words.size()];
        strings.push_back(std::move(string));
    }
    return strings;
}

// An opened workspace of a generated app in a scratch home, with the German project chosen.
struct Fixture {
    Fixture() {
        char folderPattern[] = "/tmp/orvel-bench-XXXXXX";
        home = mkdtemp(folderPattern);
        orvel::OrvelPaths::setHomeOverride(home);
        engine.strings = generatedStrings();
        const orvel::DefaultsStore defaults = *orvel::DefaultsStore::open("Orvel", home / "settings");
        preferences = std::make_unique<orvel::ModelPreferences>(
            defaults, std::make_shared<orvel::MemorySecretStore>(),
            [](const std::string&) -> std::optional<std::string> { return "bench-key"; });
        preferences->setEndpoint("http://127.0.0.1:9/v1");
        app.bundleURL = home / "Run.app";
        app.bundleIdentifier = "com.example.Run";
        const orvel::Services services{.defaults = defaults,
                                       .bus = bus,
                                       .platform = orvel::AppPlatform::system(),
                                       .clock = orvel::LiveClock::system(),
                                       .timers = timers,
                                       .home = home,
                                       .engine = engine,
                                       .preferences = preferences.get()};
        workspace = std::make_unique<orvel::Workspace>(app, services);
        workspace->selectLanguage("de");
        // The strings are read off the main thread; a run asked for before they are in has nothing to do.
        orvel::bench::settle();
    }
    ~Fixture() {
        workspace.reset();
        // The writes its workers still make go into the home before it goes.
        orvel::waitForBackgroundWork(std::chrono::seconds(10));
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    fs::path home;
    orvel::TranslatableApp app;
    orvel::InMemoryNotificationBus bus;
    orvel::QtTimerFactory timers;
    orvel::bench::ScriptedEngine engine;
    std::unique_ptr<orvel::ModelPreferences> preferences;
    std::unique_ptr<orvel::Workspace> workspace;
};

Fixture& fixture() {
    orvel::bench::application();
    static Fixture& shared = orvel::bench::untilProgramEnd<Fixture>();
    return shared;
}

void BM_WorkspaceRun(benchmark::State& state) {
    Fixture& shared = fixture();
    const int batchSize = static_cast<int>(state.range(0));
    shared.preferences->setBatchSize(batchSize);
    for (auto _ : state) {
        state.PauseTiming();
        orvel::TranslationProject empty;
        empty.app = shared.app.bundleIdentifier;
        empty.language = "de";
        shared.workspace->setProject(empty);
        state.ResumeTiming();
        shared.workspace->translate(false);
        if (!shared.workspace->translating()) {
            state.SkipWithError("The run did not start.");
            break;
        }
        while (shared.workspace->translating())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        // The run's last writes, and the comparisons and checks it asked for, belong to it.
        orvel::bench::settle();
        if (shared.workspace->project()->translations.size() != static_cast<std::size_t>(stringCount)) {
            state.SkipWithError("The run did not translate every string.");
            break;
        }
    }
    const int batches = (stringCount + batchSize - 1) / batchSize;
    state.counters["per batch"] =
        benchmark::Counter(static_cast<double>(batches) * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WorkspaceRun)->Arg(25)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
