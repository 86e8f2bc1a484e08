#pragma once
// The real services of the running application, built once at start-up on the main thread and kept for
// the life of the process.

#include <memory>

#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/SystemEngine.h"
#include "engine/capture/AXPlatform.h"

namespace orvel {

class SystemServices {
  public:
    // `bus` is the session's notification bus, `accessibility` the desktop's accessibility service, and
    // `preferences` the application's one set of model preferences; all three must outlive this object.
    SystemServices(NotificationBus& bus, const AXPlatform& accessibility, ModelPreferences& preferences);

    const Services& services() const { return *m_services; }

  private:
    QtTimerFactory m_timers;
    std::unique_ptr<SystemEngine> m_engine;
    std::unique_ptr<Services> m_services;
};

} // namespace orvel
