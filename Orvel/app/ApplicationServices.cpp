#include "Orvel/app/ApplicationServices.h"

#include "Orvel/platform/LibsecretStore.h"

namespace orvel {

ApplicationServices::ApplicationServices()
    : m_system(m_bus, std::make_shared<LibsecretStore>()),
      m_preferences(m_system.services().defaults, m_system.services().secrets) {}

} // namespace orvel
