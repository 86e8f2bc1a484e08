// Scenes of the main window's content: the sidebar without any app, and two apps, the chosen one
// expanded with the counts of its filter rows and the other collapsed with the strings an update left.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/Library.h"
#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/SystemEngine.h"
#include "Orvel/views/ContentView.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "engine/capture/AXPlatform.h"
#include "engine/capture/InMemoryNotificationBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvel {

namespace {

// The real engine over apps and strings the scene makes up.
class SceneEngine : public SystemEngine {
  public:
    using SystemEngine::SystemEngine;

    std::vector<TranslatableApp> scanApps() const override { return apps; }
    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists&) const override {
        const auto found = strings.find(app.bundleIdentifier);
        return found == strings.end() ? std::vector<SourceString>{} : found->second;
    }

    std::vector<TranslatableApp> apps;
    // By bundle identifier.
    std::map<std::string, std::vector<SourceString>> strings;
};

// A scene reads no other app's windows.
class NoAccessibility : public AXPlatform {
  public:
    bool isTrusted() const override { return false; }
    void requestTrust() const override {}
    AXElementRef application(pid_t) const override { return nullptr; }
};

// Nothing is launched or quits while a scene is taken.
class StillProcesses : public ProcessWatcher {
  public:
    Subscription subscribe(std::function<void()>) override { return {}; }
};

// A library over a home folder of its own, which the scene's apps and projects live in. It goes with
// the scene's page, after the view that reads it.
class SceneLibrary : public QObject {
  public:
    SceneLibrary() { OrvelPaths::setHomeOverride(home()); }
    ~SceneLibrary() override {
        library.reset();
        waitForWorkers();
        OrvelPaths::setHomeOverride(std::nullopt);
    }

    std::filesystem::path home() const { return std::filesystem::path(folder.path().toStdString()) / "home"; }

    // Made once the apps and their projects are in place; returns when its scan and counts are done.
    Library& open() {
        library = std::make_unique<Library>(services);
        waitForWorkers();
        return *library;
    }

    static void waitForWorkers() {
        QElapsedTimer timer;
        timer.start();
        while ((!waitForBackgroundWork(std::chrono::milliseconds(0)) || timer.elapsed() < 50) &&
               timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTemporaryDir folder;
    InMemoryNotificationBus bus;
    QtTimerFactory timers;
    StillProcesses processes;
    DefaultsStore defaults =
        *DefaultsStore::open(Services::defaultsDomain, folder.path().toStdString() + "/settings");
    NoAccessibility accessibility;
    SceneEngine engine{
        LiveServices{bus, AppPlatform::system(), LiveClock::system(), defaults.fileURL().parent_path()},
        accessibility};
    std::shared_ptr<MemorySecretStore> secrets = std::make_shared<MemorySecretStore>();
    ModelPreferences preferences{defaults, secrets, [](const std::string&) { return std::nullopt; }};
    Services services{.defaults = defaults,
                      .bus = bus,
                      .platform = AppPlatform::system(),
                      .clock = LiveClock::system(),
                      .timers = timers,
                      .home = home(),
                      .engine = engine,
                      .preferences = &preferences,
                      .processes = &processes,
                      .runFileWork = runInPlace};
    std::unique_ptr<Library> library;
};

// A rounded tile with a pen stroke across it: the icon of the scene's note-taking app.
void writeIcon(const std::filesystem::path& file) {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF5, 0xB8, 0x2E));
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 13, 13);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(14, 12, 36, 42), 4, 4);
    painter.setPen(QPen(QColor(0x9A, 0x9A, 0x9A), 3, Qt::SolidLine, Qt::RoundCap));
    for (int y : {24, 32, 40})
        painter.drawLine(20, y, 44, y);
    painter.end();
    std::filesystem::create_directories(file.parent_path());
    image.save(QString::fromStdString(file.string()), "PNG");
}

TranslatableApp sceneApp(const std::filesystem::path& folder, const std::string& identifier,
                         const std::string& name, bool icon) {
    TranslatableApp app;
    app.bundleURL = folder / (identifier + ".app");
    app.bundleIdentifier = identifier;
    app.name = name;
    app.sourceLanguage = "en";
    app.version = "1.0";
    std::map<std::string, std::string> info{{"CFBundleIdentifier", identifier}};
    if (icon) {
        info["CFBundleIconFile"] = "Icon.png";
        writeIcon(app.bundleURL / "Contents" / "Resources" / "Icon.png");
    }
    std::string plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : info)
        plist += "\t<key>" + key + "</key>\n\t<string>" + value + "</string>\n";
    plist += "</dict>\n</plist>\n";
    std::filesystem::create_directories(app.bundleURL / "Contents");
    StringsFiles::writeAtomically(plist, app.bundleURL / "Contents" / "Info.plist");
    return app;
}

std::vector<SourceString> manyStrings(int count) {
    std::vector<SourceString> strings;
    for (int i = 0; i < count; ++i) {
        SourceString string;
        string.table = "Localizable";
        string.key = "key" + std::to_string(i);
        string.text = "Text " + std::to_string(i);
        strings.push_back(std::move(string));
    }
    return strings;
}

// A project in `language` that recorded the English of the first `recorded` strings and translates
// the first `translated`, the first `edited` of them by the person.
void writeProject(const TranslatableApp& app, const std::vector<SourceString>& strings, int recorded,
                  int translated, int edited) {
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = "de";
    project.sourceText.emplace();
    for (int i = 0; i < recorded; ++i) {
        const SourceString& string = strings[static_cast<std::size_t>(i)];
        (*project.sourceText)[string.id()] = string.text;
        if (i >= translated)
            continue;
        StringTranslation translation;
        translation.text = "Text " + std::to_string(i) + " (de)";
        translation.source = string.text;
        translation.origin =
            i < edited ? StringTranslation::Origin::person : StringTranslation::Origin::model;
        project.translations[string.id()] = translation;
    }
    project.save(app);
}

std::unique_ptr<QWidget> contentPage(SceneLibrary* scene) {
    auto page = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(page.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ContentView(scene->open(), [](const QUrl&) {}));
    // Goes after the view, which reads the library until its end.
    scene->setParent(page.get());
    return page;
}

std::unique_ptr<QWidget> buildSidebarEmpty() {
    return contentPage(new SceneLibrary);
}

std::unique_ptr<QWidget> buildSidebarTwoApps() {
    auto* scene = new SceneLibrary;
    const std::filesystem::path apps = scene->home() / "Applications";
    const TranslatableApp jotter = sceneApp(apps, "org.orvel.sample.jotter", "Jotter", true);
    const TranslatableApp markup = sceneApp(apps, "org.orvel.sample.markup", "<b>A&B</b>", false);
    scene->engine.apps = {jotter, markup};
    scene->engine.strings = {{jotter.bundleIdentifier, manyStrings(12480)},
                             {markup.bundleIdentifier, manyStrings(40)}};
    writeProject(jotter, scene->engine.strings[jotter.bundleIdentifier], 12400, 11900, 12);
    writeProject(markup, scene->engine.strings[markup.bundleIdentifier], 33, 33, 0);
    auto page = contentPage(scene);
    // The counts of the chosen app's rows arrive from its workspace's background checks.
    SceneLibrary::waitForWorkers();
    return page;
}

const ShotSceneRegistration sidebarEmptyScene{"sidebar-empty", {900, 560}, &buildSidebarEmpty};
const ShotSceneRegistration sidebarTwoAppsScene{"sidebar-two-apps", {900, 560}, &buildSidebarTwoApps};

} // namespace

} // namespace orvel
