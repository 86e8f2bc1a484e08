// Scenes of the model settings form: an HTTP provider, with and without a keyring, the ChatGPT back-end
// without its shortcut, and the form after a successful connection test.
#include "Orvel/shots/ShotScene.h"

#include "Orvel/state/Background.h"
#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/views/AppleBackendStatus.h"
#include "Orvel/views/ModelSettingsView.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>

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
        : prefs(*DefaultsStore::open("org.orvel.Orvel", folder.path().toStdString()), secrets,
                [](const std::string&) -> std::optional<std::string> { return std::nullopt; }) {}

    QTemporaryDir folder;
    std::shared_ptr<MemorySecretStore> secrets = std::make_shared<MemorySecretStore>();
    ModelPreferences prefs;
};

// Connection tests end at once, with `testError` when there is one.
ModelSettingsView::Services sceneServices(std::optional<std::string> testError) {
    return ModelSettingsView::Services{
        .apple = std::make_shared<FixedAppleStatus>(),
        .background =
            [](QObject*, std::function<std::function<void()>()> work) {
                if (std::function<void()> next = work())
                    next();
            },
        .after = [](std::chrono::milliseconds, QObject*, std::function<void()>) {},
        .testConnection = [testError](const ModelSettings&, std::stop_token) { return testError; },
    };
}

const ModelSettings::Preset& preset(const std::string& name) {
    const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
    return *std::find_if(presets.begin(), presets.end(),
                         [&](const ModelSettings::Preset& row) { return row.name == name; });
}

// What a scene does with the form once it is made.
enum class Test { none, connected, failed };

// The form at the top of a window-coloured page, with `setUp` run on the preferences first.
std::unique_ptr<QWidget> settingsPage(const std::function<void(ModelPreferences&)>& setUp,
                                      Test test = Test::none, bool keyring = true) {
    auto page = std::make_unique<QWidget>();
    auto* scene = new ScenePreferences;
    if (!keyring)
        scene->secrets->setUnreachable("no keyring runs in this session.");
    setUp(scene->prefs);
    // What the keyring answered is in before the form is drawn.
    waitForBackgroundWork(std::chrono::seconds(10));
    QCoreApplication::processEvents();
    std::optional<std::string> error;
    if (test == Test::failed)
        error = R"(The endpoint answered 401: {"error": {"message": "Incorrect API key provided: )"
                R"(sk-or-sc*****key. You can find your API key at https://openrouter.ai/keys.", )"
                R"("type": "invalid_request_error", "code": "invalid_api_key"}})";
    // At the top left, outside any layout, so that the page keeps the scene's size.
    auto* view = new ModelSettingsView(scene->prefs, sceneServices(error), page.get());
    // Goes after the form, which reads the preferences until its end.
    scene->setParent(page.get());
    if (test != Test::none)
        view->findChild<QPushButton*>("testConnectionButton")->click();
    return page;
}

std::unique_ptr<QWidget> buildHttpProvider() {
    return settingsPage([](ModelPreferences& prefs) {
        prefs.apply(preset("OpenAI"));
        prefs.setApiKey("sk-scene-key");
    });
}

std::unique_ptr<QWidget> buildHttpProviderWithoutKeyring() {
    return settingsPage(
        [](ModelPreferences& prefs) {
            prefs.apply(preset("OpenAI"));
            prefs.setApiKey("sk-scene-key");
        },
        Test::none, false);
}

std::unique_ptr<QWidget> buildChatGPTWithoutShortcut() {
    return settingsPage(
        [](ModelPreferences& prefs) { prefs.apply(preset("ChatGPT through Apple Intelligence")); });
}

void openRouterWithKey(ModelPreferences& prefs) {
    prefs.apply(preset("OpenRouter"));
    prefs.setApiKey("sk-or-scene-key");
    prefs.setReasoningEffort("low");
}

std::unique_ptr<QWidget> buildConnected() {
    return settingsPage(&openRouterWithKey, Test::connected);
}

std::unique_ptr<QWidget> buildTestFailed() {
    return settingsPage(&openRouterWithKey, Test::failed);
}

// The window is the form's own size: the full width and its ideal height.
const ShotSceneRegistration httpScene{
    "settings-http", {ModelSettingsView::formWidth, 497}, &buildHttpProvider};
const ShotSceneRegistration noKeyringScene{
    "settings-no-keyring", {ModelSettingsView::formWidth, 551}, &buildHttpProviderWithoutKeyring};
const ShotSceneRegistration chatGPTScene{
    "settings-chatgpt-no-shortcut", {ModelSettingsView::formWidth, 410}, &buildChatGPTWithoutShortcut};
const ShotSceneRegistration connectedScene{
    "settings-connected", {ModelSettingsView::formWidth, 497}, &buildConnected};
const ShotSceneRegistration failedScene{
    "settings-test-failed", {ModelSettingsView::formWidth, 520}, &buildTestFailed};

} // namespace

} // namespace orvel
