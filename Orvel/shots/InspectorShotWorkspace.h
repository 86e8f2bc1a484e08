#pragma once
// A workspace over a small generated app in a real engine and a scratch home, for the inspector and the
// context sheet scenes:
// the app "Jotter" with a manifest, a context file, a few strings (one plural) and where they were seen.
// It lives as a child of the scene's widget, so it ends with the scene.

#include <QObject>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/Workspace.h"
#include "engine/capture/InMemoryNotificationBus.h"

namespace orvel {

class SystemEngine;

class InspectorShotWorkspace : public QObject {
    Q_OBJECT
  public:
    // Opens the app in `language` (none: no language chosen), its project holding `translations` (by key
    // of the table "Main").
    InspectorShotWorkspace(std::optional<std::string> language,
                  const std::map<std::string, StringTranslation>& translations);
    ~InspectorShotWorkspace() override;

    Workspace& workspace() { return *m_workspace; }
    // The id of a key of the table "Main", selected in the workspace.
    void select(const std::string& key);

  private:
    TranslatableApp writeApp() const;

    QTemporaryDir m_home;
    InMemoryNotificationBus m_bus;
    QtTimerFactory m_timers;
    std::unique_ptr<SystemEngine> m_engine;
    std::unique_ptr<Services> m_services;
    std::unique_ptr<Workspace> m_workspace;
};

} // namespace orvel
