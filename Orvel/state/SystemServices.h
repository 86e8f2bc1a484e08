#pragma once
// The real services of the running application, built once at start-up on the main thread and kept for
// the life of the process.

#include <memory>

#include "Orvel/state/PollingProcessWatcher.h"
#include "Orvel/state/QtTimerFactory.h"
#include "Orvel/state/SecretStore.h"
#include "Orvel/state/Services.h"
#include "Orvel/state/SystemEngine.h"

namespace orvel {

class SystemServices {
  public:
    // `bus` is the session's notification bus and must outlive this object; `secrets` is the session's
    // keyring (the desktop backend's store).
    SystemServices(NotificationBus& bus, std::shared_ptr<SecretStore> secrets);

    const Services& services() const { return *m_services; }

  private:
    QtTimerFactory m_timers;
    std::unique_ptr<SystemEngine> m_engine;
    std::unique_ptr<PollingProcessWatcher> m_processes;
    std::unique_ptr<Services> m_services;
};

} // namespace orvel
