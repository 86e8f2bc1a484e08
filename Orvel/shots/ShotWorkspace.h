#pragma once
// A workspace of a made-up app for the scenes: its strings and project are given, its home is a
// temporary folder, nothing runs in the background and nothing is published. It belongs to the scene's
// widget and goes with it.

#include "Orvel/shots/InertPlatform.h"
#include "Orvel/state/InertEngine.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Workspace.h"
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
    QTemporaryDir m_home;
    InMemoryNotificationBus m_bus;
    QtTimerFactory m_timers;
    InertEngine m_engine;
    InertPlatform m_platform;
    std::unique_ptr<Workspace> m_workspace;
};

} // namespace orvel
