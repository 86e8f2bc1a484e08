// Scenes of the whole main window at its first size, composed as the application composes it: the
// sidebar, the toolbar, the table, the inspector and the footer of a note-taking app, with a run going,
// and after a run that left strings with a possible problem.
#include "Orvel/app/MainContent.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/shots/InertPlatform.h"
#include "Orvel/shots/SceneLibrary.h"
#include "Orvel/shots/ShotScene.h"
#include "Orvel/shots/WindowFrame.h"

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvel {

namespace {

class WindowScene : public SceneLibrary {
  public:
    InertPlatform platform;
};

constexpr std::array kTexts{
    "New Note",  "Open Recent",  "%@ Settings",  "Delete %lld Notes", "Pin to Top", "Move to Folder…",
    "%@ Folder", "Search Notes", "Sort by Date", "Export as PDF…",    "Lock Note",  "Print…",
};
constexpr std::array kGerman{
    // The two placeholders that lead a name are moved: possible problems.
    "Neue Notiz",           "Zuletzt geöffnet",     "Einstellungen für %@", "%lld Notizen löschen",
    "Oben anheften",        "In Ordner bewegen…",   "Ordner von %@",        "Notizen durchsuchen",
    "Nach Datum sortieren", "Als PDF exportieren…", "Notiz sperren",        "Drucken…",
};

// `count` strings: the first dozen read like an app's, the rest are numbered.
std::vector<SourceString> noteStrings(int count) {
    std::vector<SourceString> strings;
    for (int i = 0; i < count; ++i) {
        SourceString string;
        string.table = "Localizable";
        string.key = "key" + std::to_string(i);
        string.text = i < static_cast<int>(kTexts.size()) ? kTexts[static_cast<std::size_t>(i)]
                                                          : "Item " + std::to_string(i);
        strings.push_back(std::move(string));
    }
    return strings;
}

// A German project that recorded the English of every string and translates the first `translated`,
// the tenth of them by the person.
void writeGerman(const TranslatableApp& app, const std::vector<SourceString>& strings, int translated) {
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = "de";
    project.sourceText.emplace();
    for (int i = 0; i < static_cast<int>(strings.size()); ++i) {
        const SourceString& string = strings[static_cast<std::size_t>(i)];
        (*project.sourceText)[string.id()] = string.text;
        if (i >= translated)
            continue;
        StringTranslation translation;
        translation.text = i < static_cast<int>(kGerman.size()) ? kGerman[static_cast<std::size_t>(i)]
                                                                : "Eintrag " + std::to_string(i);
        translation.source = string.text;
        translation.origin = i == 9 ? StringTranslation::Origin::person : StringTranslation::Origin::model;
        project.translations[string.id()] = translation;
    }
    project.save(app);
}

// The window of the scene's library with the Jotter app chosen, in a frame that shows its title.
struct Composed {
    std::unique_ptr<QWidget> frame;
    Workspace* workspace = nullptr;
};

Composed compose(WindowScene* scene, const TranslatableApp& chosen) {
    Library& library = scene->open();
    library.setSelection(chosen.bundleIdentifier);
    auto* window = new MainWindow(scene->defaults);
    window->setContent(makeMainContent(
        library, scene->preferences, scene->platform, [] {}, [](const QUrl&) {}));
    Workspace& workspace = library.workspace(chosen);
    // The strings, the project and the problems arrive from the workspace's background work.
    SceneLibrary::waitForWorkers();
    auto frame = std::make_unique<WindowFrame>(window);
    // Goes after the window, whose views read the library until their end.
    scene->setParent(frame.get());
    return {std::move(frame), &workspace};
}

const QSize kWindow{MainWindow::defaultWidth, MainWindow::defaultHeight};

std::unique_ptr<QWidget> buildRunGoing() {
    auto* scene = new WindowScene;
    const std::filesystem::path apps = scene->home() / "Applications";
    const TranslatableApp jotter = sceneApp(apps, "org.orvel.sample.jotter", "Jotter", true);
    const TranslatableApp markup = sceneApp(apps, "org.orvel.sample.markup", "Markup", false);
    scene->engine.apps = {jotter, markup};
    scene->engine.strings = {{jotter.bundleIdentifier, noteStrings(20923)},
                             {markup.bundleIdentifier, noteStrings(40)}};
    writeGerman(jotter, scene->engine.strings[jotter.bundleIdentifier], 3050);
    writeGerman(markup, noteStrings(33), 33);
    Composed composed = compose(scene, jotter);
    Workspace& workspace = *composed.workspace;
    workspace.setTranslating(true);
    workspace.setProgress(TranslationJob::Progress{.done = 3050, .total = 20923, .failed = 0});
    workspace.setSelection({noteStrings(10)[9].id()});
    return std::move(composed.frame);
}

std::unique_ptr<QWidget> buildAfterRunWithProblem() {
    auto* scene = new WindowScene;
    const std::filesystem::path apps = scene->home() / "Applications";
    const TranslatableApp jotter = sceneApp(apps, "org.orvel.sample.jotter", "Jotter", true);
    scene->engine.apps = {jotter};
    scene->engine.strings = {{jotter.bundleIdentifier, noteStrings(334)}};
    writeGerman(jotter, scene->engine.strings[jotter.bundleIdentifier], 334);
    Composed composed = compose(scene, jotter);
    composed.workspace->setSelection({noteStrings(7)[6].id()});
    SceneLibrary::waitForWorkers();
    return std::move(composed.frame);
}

// A large app with most of its strings still to translate, Apple's on-device model chosen: the longest
// main action beside the longest preset name.
std::unique_ptr<QWidget> buildLongestFooter() {
    auto* scene = new WindowScene;
    scene->preferences.setProvider("Apple Intelligence, on this Mac");
    const std::filesystem::path apps = scene->home() / "Applications";
    const TranslatableApp jotter = sceneApp(apps, "org.orvel.sample.jotter", "Jotter", true);
    scene->engine.apps = {jotter};
    scene->engine.strings = {{jotter.bundleIdentifier, noteStrings(20923)}};
    writeGerman(jotter, scene->engine.strings[jotter.bundleIdentifier], 3050);
    Composed composed = compose(scene, jotter);
    composed.workspace->setSelection({noteStrings(3)[2].id()});
    return std::move(composed.frame);
}

const ShotSceneRegistration longestFooterScene{"main-window-longest-footer", WindowFrame::around(kWindow),
                                               &buildLongestFooter};
const ShotSceneRegistration runGoingScene{"main-window-run-going", WindowFrame::around(kWindow),
                                          &buildRunGoing};
const ShotSceneRegistration afterRunScene{"main-window-after-run-with-problem", WindowFrame::around(kWindow),
                                          &buildAfterRunWithProblem};

} // namespace

} // namespace orvel
