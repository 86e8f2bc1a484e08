#include "Orvel/app/ApplicationServices.h"

#include "Orvel/platform/LibsecretStore.h"

namespace orvel {

// The defaults domain is a plain name, so its store always opens.
ApplicationServices::ApplicationServices()
    : m_preferences(DefaultsStore::open(Services::defaultsDomain).value(),
                    std::make_shared<LibsecretStore>()),
      m_system(m_bus, m_accessibility, m_preferences) {}

} // namespace orvel
