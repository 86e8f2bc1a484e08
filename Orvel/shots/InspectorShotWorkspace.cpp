#include "Orvel/shots/InspectorShotWorkspace.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/SystemEngine.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "engine/capture/AXPlatform.h"
#include "engine/capture/ContextMap.h"
#include "engine/capture/LiveClock.h"

namespace orvel {

namespace {

// The scenes read no other app.
class NoAccessibility : public AXPlatform {
  public:
    bool isTrusted() const override { return false; }
    void requestTrust() const override {}
    AXElementRef application(pid_t) const override { return {}; }
};

const NoAccessibility noAccessibility;

const char* const infoPlist = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>org.orvel.shots.jotter</string>
<key>CFBundleName</key><string>Jotter</string>
<key>CFBundleShortVersionString</key><string>1.2</string>
</dict></plist>
)";

const char* const catalog = R"({"sourceLanguage": "en", "version": "1.0", "strings": {
  "Send email now": {},
  "note.delete": {"comment": "Button that deletes the selected note for good <b>now</b> & forever",
    "localizations": {"en": {"stringUnit": {"value": "Delete Note"}}}},
  "%lld notes": {"comment": "Count of notes in the sidebar",
    "localizations": {"en": {"variations": {"plural": {
      "one": {"stringUnit": {"value": "%lld note"}}, "other": {"stringUnit": {"value": "%lld notes"}}}}}}}
}})";

const char* const manifest = R"({"protocol": 1,
  "description": "Jotter is a small note-taking app: notes live in folders, can be tagged and pinned.",
  "context": "Short menu and button titles. The person addressed is the app's user.",
  "glossary": [{"term": "Jotter", "note": "The app's name", "translate": false},
               {"term": "note", "note": "One text document of the app"}]})";

void write(const std::filesystem::path& file, const std::string& contents) {
    std::filesystem::create_directories(file.parent_path());
    StringsFiles::writeAtomically(contents, file);
}

} // namespace

InspectorShotWorkspace::InspectorShotWorkspace(std::optional<std::string> language,
                                               const std::map<std::string, StringTranslation>& translations) {
    const std::filesystem::path home = m_home.path().toStdString();
    OrvelPaths::setHomeOverride(home);
    m_engine = std::make_unique<SystemEngine>(
        LiveServices{m_bus, AppPlatform::system(), LiveClock::system(), home / "settings"}, noAccessibility);
    m_services = std::make_unique<Services>(Services{
        .defaults = *DefaultsStore::open(Services::defaultsDomain, home / "settings"),
        .bus = m_bus,
        .platform = AppPlatform::system(),
        .clock = LiveClock::system(),
        .timers = m_timers,
        .home = home,
        .engine = *m_engine,
        .runFileWork = runInPlace,
    });
    const TranslatableApp app = writeApp();
    if (language) {
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = *language;
        if (*language == "de")
            project.terms = {{"note", "Notiz"}, {"Archive", "Archiv"}, {"account", "Konto"}};
        for (const auto& [key, translation] : translations)
            project.translations[SourceString::id("Main", key)] = translation;
        project.save(app);
        m_services->defaults.set("language." + app.bundleIdentifier, *language);
    }
    ContextMap context;
    context.occurrences[SourceString::id("Main", "note.delete")] = {
        Occurrence{.screen = "Main window",
                   .section = "Toolbar",
                   .role = "button",
                   .row = {"New Note", "«Delete Note»", "Share"}},
        Occurrence{.screen = "Menu bar > Note", .role = "menu item", .row = {}},
    };
    context.save(app);
    m_workspace = std::make_unique<Workspace>(app, *m_services);
}

InspectorShotWorkspace::~InspectorShotWorkspace() {
    m_workspace->flush();
    m_workspace.reset();
}

void InspectorShotWorkspace::select(const std::string& key) {
    m_workspace->setSelection({SourceString::id("Main", key)});
}

TranslatableApp InspectorShotWorkspace::writeApp() const {
    const std::filesystem::path bundle =
        std::filesystem::path(m_home.path().toStdString()) / "Apps" / "Jotter.app";
    const std::filesystem::path resources = bundle / "Contents" / "Resources" / "Orvel";
    write(bundle / "Contents" / "Info.plist", infoPlist);
    write(resources / "Main.xcstrings", catalog);
    write(resources / "app.json", manifest);
    write(resources / "context.md", "Notes are plain text; folders hold notes.");
    return *TranslatableApp::open(bundle);
}

} // namespace orvel
