#pragma once
// A library for the scenes of the main window, over a home folder of its own that the scene's apps and
// projects live in: the real engine over apps and strings the scene makes up, no other app's windows,
// no launches or quits. It goes with the scene's page, after the views that read it.

#include "Orvel/state/Library.h"
#include "Orvel/state/MemorySecretStore.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/SystemEngine.h"
#include "engine/capture/AXPlatform.h"
#include "engine/capture/InMemoryNotificationBus.h"

#include <QObject>
#include <QTemporaryDir>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvel {

class SceneEngine : public SystemEngine {
  public:
    using SystemEngine::SystemEngine;

    std::vector<TranslatableApp> scanApps() const override { return apps; }
    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists&) const override;

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

class SceneLibrary : public QObject {
  public:
    SceneLibrary();
    ~SceneLibrary() override;

    std::filesystem::path home() const;

    // Made once the apps and their projects are in place; returns when its scan and counts are done.
    Library& open();

    // Runs the main thread until the workers have ended (and a little longer, for what they hand back).
    static void waitForWorkers();

    QTemporaryDir folder;
    InMemoryNotificationBus bus;
    QtTimerFactory timers;
    StillProcesses processes;
    DefaultsStore defaults;
    NoAccessibility accessibility;
    SceneEngine engine;
    std::shared_ptr<MemorySecretStore> secrets = std::make_shared<MemorySecretStore>();
    ModelPreferences preferences;
    Services services;
    std::unique_ptr<Library> library;
};

// A made-up app in `folder`, with an Info.plist; `icon` gives it the icon of a note-taking app.
TranslatableApp sceneApp(const std::filesystem::path& folder, const std::string& identifier,
                         const std::string& name, bool icon);

} // namespace orvel
