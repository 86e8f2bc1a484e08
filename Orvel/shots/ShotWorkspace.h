#pragma once
// A workspace of a made-up app for the scenes: its strings and project are given, its home is a
// temporary folder, nothing runs in the background and nothing is published. It belongs to the scene's
// widget and goes with it.

#include "Orvel/state/EngineFacade.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Workspace.h"
#include "Orvel/views/PlatformServices.h"
#include "engine/capture/InMemoryNotificationBus.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace orvel {

class ShotWorkspace : public QObject {
  public:
    // The app `name` with `strings`, and `project` chosen in its language.
    ShotWorkspace(const std::string& name, std::vector<SourceString> strings,
                  std::optional<TranslationProject> project);
    ~ShotWorkspace() override;

    Workspace& workspace() { return *m_workspace; }
    PlatformServices& platform() { return m_platform; }

  private:
    class Engine : public EngineFacade {
      public:
        std::vector<SourceString> loadStrings(const TranslatableApp&, const SeenLists&) const override {
            return strings;
        }
        std::optional<AppState> readState(const TranslatableApp&) const override { return std::nullopt; }
        TermCheck termCheck() const override {
            return [](const SourceString&, const StringTranslation&, std::string_view, const Terms&,
                      const GlossaryWords&) { return std::optional<std::string>(); };
        }
        // Scenes start no run, capture or update.
        std::vector<TranslatableApp> scanApps() const override { return {}; }
        TranslationUpdater::Pipeline pipeline() const override { return {}; }
        bool modelSupports(const std::string&, AppleModels::Kind) const override { return false; }
        bool accessibilityTrusted() const override { return false; }
        std::optional<RunningApplication> runningCopy(const TranslatableApp&) const override {
            return std::nullopt;
        }
        ContextCapture::Result capture(const TranslatableApp&, bool, const ContextCapture::Progress&,
                                       const std::stop_token&) const override {
            return {};
        }
        bool setLanguage(const TranslatableApp&, const std::optional<std::string>&) const override {
            return false;
        }
        std::vector<SourceString> strings;
    };
    // Scenes open nothing.
    class Platform : public PlatformServices {
      public:
        void openUrl(const QUrl&) override {}
        void launchApp(const std::filesystem::path&) override {}
        void openAccessibilitySettings() override {}
        void openSettings() override {}
    };

    QTemporaryDir m_home;
    InMemoryNotificationBus m_bus;
    QtTimerFactory m_timers;
    Engine m_engine;
    Platform m_platform;
    std::unique_ptr<Workspace> m_workspace;
};

} // namespace orvel
