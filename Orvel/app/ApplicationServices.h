#pragma once
// The real services of the running application, wired once at start-up on the main thread: the
// session's notification bus, the engine and defaults, the session's secret store behind the model
// preferences, and alerts as message boxes.

#include <memory>

#include "Orvel/platform/AtspiPlatform.h"
#include "Orvel/platform/SessionNotificationBus.h"
#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/SystemServices.h"
#include "Orvel/views/MessageBoxAlerts.h"

namespace orvel {

class ApplicationServices {
  public:
    ApplicationServices();

    const Services& services() const { return m_system.services(); }
    ModelPreferences& preferences() { return m_preferences; }
    Alerts& alerts() { return m_alerts; }
    const AXPlatform& accessibility() const { return m_accessibility; }

  private:
    SessionNotificationBus m_bus;
    AtspiPlatform m_accessibility;
    ModelPreferences m_preferences;
    SystemServices m_system;
    MessageBoxAlerts m_alerts;
};

} // namespace orvel
