// Scenes of the model settings form: an HTTP provider, the ChatGPT back-end without its shortcut, and
// the form after a successful connection test.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/AppleBackendStatus.h"
#include "Orvel/views/ModelSettingsView.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace orvel {

namespace {

// The on-device model of an older system and ChatGPT without its shortcut.
class FixedAppleStatus : public AppleBackendStatus {
  public:
    std::optional<std::string> availability(AppleModels::Kind kind) override {
        if (kind == AppleModels::Kind::onDevice)
            return "needs macOS 26 or later";
        return "needs the " + std::string(AppleModels::shortcutName) + " shortcut";
    }
    void forgetShortcutCache() override {}
    std::optional<std::filesystem::path> shortcutFile() const override { return std::nullopt; }
    void openFile(const std::filesystem::path&) override {}
};

// The preferences of one scene, in a settings folder of their own that goes with the scene.
class ScenePreferences : public QObject {
  public:
    ScenePreferences()
        : prefs(*DefaultsStore::open("org.orvel.Orvel", folder.path().toStdString()),
                std::make_shared<MemorySecretStore>(),
                [](const std::string&) -> std::optional<std::string> { return std::nullopt; }) {}

    QTemporaryDir folder;
    ModelPreferences prefs;
};

ModelSettingsView::Services sceneServices() {
    return ModelSettingsView::Services{
        .apple = std::make_shared<FixedAppleStatus>(),
        .background =
            [](QObject*, std::function<std::function<void()>()> work) {
                if (std::function<void()> next = work())
                    next();
            },
        .after = [](std::chrono::milliseconds, QObject*, std::function<void()>) {},
        .testConnection = [](const ModelSettings&, std::stop_token) -> std::optional<std::string> {
            return std::nullopt;
        },
    };
}

const ModelSettings::Preset& preset(const std::string& name) {
    const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
    return *std::find_if(presets.begin(), presets.end(),
                         [&](const ModelSettings::Preset& row) { return row.name == name; });
}

// The form at the top of a window-coloured page, with `setUp` run on the preferences first.
std::unique_ptr<QWidget> settingsPage(const std::function<void(ModelPreferences&)>& setUp,
                                      const std::function<void(ModelSettingsView&)>& act = {}) {
    auto page = std::make_unique<QWidget>();
    auto* scene = new ScenePreferences;
    setUp(scene->prefs);
    auto* column = new QVBoxLayout(page.get());
    column->setContentsMargins(0, 0, 0, 0);
    auto* view = new ModelSettingsView(scene->prefs, sceneServices());
    column->addWidget(view, 0, Qt::AlignTop | Qt::AlignLeft);
    // Goes after the form, which reads the preferences until its end.
    scene->setParent(page.get());
    if (act)
        act(*view);
    return page;
}

std::unique_ptr<QWidget> buildHttpProvider() {
    return settingsPage([](ModelPreferences& prefs) {
        prefs.apply(preset("OpenAI"));
        prefs.setApiKey("sk-scene-key");
    });
}

std::unique_ptr<QWidget> buildChatGPTWithoutShortcut() {
    return settingsPage(
        [](ModelPreferences& prefs) { prefs.apply(preset("ChatGPT through Apple Intelligence")); });
}

std::unique_ptr<QWidget> buildConnected() {
    return settingsPage(
        [](ModelPreferences& prefs) {
            prefs.apply(preset("Ollama"));
            prefs.setReasoningEffort("low");
        },
        [](ModelSettingsView& view) { view.findChild<QPushButton*>("testConnectionButton")->click(); });
}

const ShotSceneRegistration httpScene{"settings-http", {520, 560}, &buildHttpProvider};
const ShotSceneRegistration chatGPTScene{
    "settings-chatgpt-no-shortcut", {520, 560}, &buildChatGPTWithoutShortcut};
const ShotSceneRegistration connectedScene{"settings-connected", {520, 560}, &buildConnected};

} // namespace

} // namespace orvel
