#include "Orvel/shots/SceneLibrary.h"

#include "Orvel/state/Background.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

namespace orvel {

namespace {

// A rounded tile with a pen stroke across it: the icon of the scenes' note-taking app.
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

} // namespace

std::vector<SourceString> SceneEngine::loadStrings(const TranslatableApp& app, const SeenLists&) const {
    const auto found = strings.find(app.bundleIdentifier);
    return found == strings.end() ? std::vector<SourceString>{} : found->second;
}

SceneLibrary::SceneLibrary()
    : defaults(*DefaultsStore::open(Services::defaultsDomain, folder.path().toStdString() + "/settings")),
      engine(LiveServices{bus, AppPlatform::system(), LiveClock::system(), defaults.fileURL().parent_path()},
             accessibility),
      preferences(defaults, secrets, [](const std::string&) { return std::nullopt; }),
      services{.defaults = defaults,
               .bus = bus,
               .platform = AppPlatform::system(),
               .clock = LiveClock::system(),
               .timers = timers,
               .home = home(),
               .engine = engine,
               .preferences = &preferences,
               .processes = &processes,
               .runFileWork = runInPlace} {
    OrvelPaths::setHomeOverride(home());
}

SceneLibrary::~SceneLibrary() {
    library.reset();
    waitForWorkers();
    OrvelPaths::setHomeOverride(std::nullopt);
}

std::filesystem::path SceneLibrary::home() const {
    return std::filesystem::path(folder.path().toStdString()) / "home";
}

Library& SceneLibrary::open() {
    library = std::make_unique<Library>(services);
    waitForWorkers();
    return *library;
}

void SceneLibrary::waitForWorkers() {
    QElapsedTimer timer;
    timer.start();
    while ((!waitForBackgroundWork(std::chrono::milliseconds(0)) || timer.elapsed() < 50) &&
           timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
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

} // namespace orvel
