#include "Orvel/state/SystemServices.h"

#include "core/OrvelPaths.h"

namespace orvel {

SystemServices::SystemServices(NotificationBus& bus, const AXPlatform& accessibility,
                               ModelPreferences& preferences) {
    // The domain is a plain name, so the store always opens.
    const DefaultsStore defaults = DefaultsStore::open(Services::defaultsDomain).value();
    LiveServices live{bus, AppPlatform::system(), LiveClock::system(), defaults.fileURL().parent_path()};
    m_engine = std::make_unique<SystemEngine>(live, accessibility);
    m_services = std::make_unique<Services>(Services{.defaults = defaults,
                                                     .bus = bus,
                                                     .platform = AppPlatform::system(),
                                                     .clock = LiveClock::system(),
                                                     .timers = m_timers,
                                                     .home = OrvelPaths::home(),
                                                     .engine = *m_engine,
                                                     .preferences = &preferences});
}

} // namespace orvel
