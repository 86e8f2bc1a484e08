// The composed main window on the large app (50,000 strings, half of them translated, the project on
// disk): the sidebar with its badges beside the strings screen with its table, footer, checklist and
// inspector, as the application shows them. Each figure is what the person waits for until the window
// is drawn again: a keystroke in the filter field, a switch of filter, one merged batch of a run, and
// the start to a settled window with the app chosen. These include everything each step makes the
// views read (the counts of every badge and panel), which the table alone does not show.

#include "Orvel/app/MainWindow.h"
#include "Orvel/app/StringsScreen.h"
#include "Orvel/state/Background.h"
#include "Orvel/state/Library.h"
#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/ContentView.h"
#include "Orvel/views/PlatformServices.h"
#include "bench/LargeWorkspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

namespace fs = std::filesystem;
using orvel::bench::generatedApp;

constexpr const char* bundleID = "com.example.Large";

// The large app, found by every scan.
class WindowEngine : public orvel::bench::ScriptedEngine {
  public:
    std::vector<orvel::TranslatableApp> scanApps() const override { return {app}; }
    orvel::TranslatableApp app;
};

// The window opens nothing on the desktop.
class StillPlatform : public orvel::PlatformServices {
  public:
    void openUrl(const QUrl&) override {}
    void launchApp(const std::filesystem::path&) override {}
    void openAccessibilitySettings() override {}
    void openSettings() override {}
};

// Lets the main thread take what the workers hand back until they are all done.
void settle() {
    QElapsedTimer timer;
    timer.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!orvel::waitForBackgroundWork(std::chrono::milliseconds(0)) && timer.elapsed() < 60000);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// A home with the large app's project on disk and the app chosen in the sidebar, as at a start after
// the person last worked on it.
struct WindowHome {
    WindowHome() {
        char folderPattern[] = "/tmp/orvel-bench-window-XXXXXX";
        home = mkdtemp(folderPattern);
        orvel::OrvelPaths::setHomeOverride(home);
        orvel::bench::GeneratedApp generated = generatedApp();
        engine.strings = std::move(generated.strings);
        engine.app.bundleURL = home / "Applications" / "Large.app";
        engine.app.bundleIdentifier = bundleID;
        engine.app.name = "Large";
        generated.project.save(engine.app);
        defaults.set("language." + std::string(bundleID), std::string("de"));
    }
    ~WindowHome() {
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    orvel::Services services() {
        return {.defaults = defaults,
                .bus = bus,
                .platform = orvel::AppPlatform::system(),
                .clock = orvel::LiveClock::system(),
                .timers = timers,
                .home = home,
                .engine = engine,
                .preferences = &preferences};
    }

    fs::path home;
    orvel::DefaultsStore defaults = *orvel::DefaultsStore::open("Orvel", home / "settings");
    orvel::InMemoryNotificationBus bus;
    orvel::QtTimerFactory timers;
    WindowEngine engine;
    orvel::ModelPreferences preferences{defaults, std::make_shared<orvel::MemorySecretStore>(),
                                        [](const std::string&) { return std::nullopt; }};
    StillPlatform platform;
};

// The window of the application: library, sidebar and the chosen app's strings screen, drawn into an
// image at the window's first size.
struct ComposedWindow {
    explicit ComposedWindow(WindowHome& home)
        : library(home.services()), window(home.defaults),
          image(orvel::MainWindow::defaultWidth, orvel::MainWindow::defaultHeight,
                QImage::Format_ARGB32_Premultiplied) {
        auto* content = new orvel::ContentView(
            library, [](const QUrl&) {}, nullptr,
            [&home](orvel::Workspace& w) {
                return orvel::makeStringsScreen(w, home.preferences, home.platform, [] {});
            });
        window.setContent(content);
        window.resize(image.size());
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        settle();
        library.setSelection(bundleID);
        settle();
    }
    orvel::Workspace& workspace() { return library.workspace(library.apps().front()); }
    void draw() {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        window.render(&image);
    }

    orvel::Library library;
    orvel::MainWindow window;
    QImage image;
};

WindowHome& home() {
    orvel::bench::application();
    static WindowHome shared;
    return shared;
}

ComposedWindow& shownWindow() {
    static ComposedWindow shared(home());
    return shared;
}

void BM_MainWindowStartToSettled(benchmark::State& state) {
    WindowHome& shared = home();
    for (auto _ : state) {
        auto window = std::make_unique<ComposedWindow>(shared);
        window->draw();
        benchmark::DoNotOptimize(window->workspace().problemCount());
        state.PauseTiming();
        window.reset();
        settle();
        state.ResumeTiming();
    }
}

void BM_MainWindowFilterKeystroke(benchmark::State& state) {
    ComposedWindow& window = shownWindow();
    const std::vector<std::string> typed{"o", "op", "ope", "open", "ope", "op"};
    std::size_t next = 0;
    for (auto _ : state) {
        window.workspace().setSearch(typed[next++ % typed.size()]);
        window.draw();
    }
    window.workspace().setSearch("");
    window.draw();
}

void BM_MainWindowFilterSwitch(benchmark::State& state) {
    ComposedWindow& window = shownWindow();
    bool flip = false;
    for (auto _ : state) {
        window.workspace().setFilter((flip = !flip) ? orvel::WorkspaceFilter::untranslated
                                                    : orvel::WorkspaceFilter::all);
        window.draw();
    }
    window.workspace().setFilter(orvel::WorkspaceFilter::all);
    window.draw();
}

// One batch of a run (25 strings, as the run sends them) lands: merged, saved, published and drawn.
void BM_MainWindowMergedBatch(benchmark::State& state) {
    ComposedWindow& window = shownWindow();
    orvel::Workspace& workspace = window.workspace();
    const std::vector<orvel::SourceString>& strings = workspace.strings();
    std::size_t next = 0;
    int round = 0;
    for (auto _ : state) {
        orvel::Workspace::Translations batch;
        while (batch.size() < 25) {
            const orvel::SourceString& string = strings[next++ % strings.size()];
            if (!string.translate)
                continue;
            orvel::StringTranslation translation;
            translation.text = "Runde " + std::to_string(round) + " " + string.text;
            translation.source = string.text;
            batch.emplace(string.id(), std::move(translation));
        }
        ++round;
        workspace.applyBatch(batch, orvel::TranslationJob::Progress{}, "de");
        window.draw();
    }
    settle();
}

} // namespace

// Each start reads the whole app again; a handful of them gives a steady figure.
BENCHMARK(BM_MainWindowStartToSettled)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_MainWindowFilterKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowFilterSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowMergedBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
