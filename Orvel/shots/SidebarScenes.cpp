// Scenes of the main window's content: the sidebar without any app, and two apps, the chosen one
// expanded with the counts of its filter rows and the other collapsed with the strings an update left.
#include "Orvel/shots/SceneLibrary.h"
#include "Orvel/shots/ShotScene.h"

#include "Orvel/views/ContentView.h"

#include <QHBoxLayout>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvel {

namespace {

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
