#pragma once
// A strings screen over a workspace of the state tests' scratch app, with the desktop's services
// recorded instead of performed.

#include "Orvel/views/PlatformServices.h"
#include "Orvel/views/StringsView.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvel::testing {

class RecordingPlatform : public PlatformServices {
  public:
    void openUrl(const QUrl& url) override { calls.push_back("openUrl " + url.toString().toStdString()); }
    std::optional<LaunchFailure> launchApp(const std::filesystem::path& bundleURL) override {
        calls.push_back("launchApp " + bundleURL.string());
        return launchFailure;
    }
    void openAccessibilitySettings() override { calls.push_back("openAccessibilitySettings"); }
    void openSettings() override { calls.push_back("openSettings"); }

    std::vector<std::string> calls;
    // What a launch answers.
    std::optional<LaunchFailure> launchFailure;
};

class StringsViewTest : public WorkspaceTest {
  protected:
    // The strings "a" ("Open"), "b" ("Save") and "c" ("Quit"), and the projects of `languages`, where
    // the first is chosen, with "b" translated by the model.
    void build(const std::vector<std::string>& languages = {"de"}, const std::string& name = "Notes") {
        engine.scriptedStrings = std::vector<SourceString>{
            sourceString("a", "Open"), sourceString("b", "Save"), sourceString("c", "Quit")};
        view.reset();
        workspace.reset();
        app = makeApp();
        app.name = name;
        for (const std::string& language : languages)
            writeProject(app, language, {{SourceString::id("Main", "b"), translated("Sichern")}});
        workspace = open(app);
        view = std::make_unique<StringsView>(*workspace, platform);
        view->resize(1000, 600);
    }

    static std::string id(const char* key) { return SourceString::id("Main", key); }

    ~StringsViewTest() override {
        view.reset();
        workspace.reset();
    }

    TranslatableApp app;
    RecordingPlatform platform;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<StringsView> view;
};

} // namespace orvel::testing
