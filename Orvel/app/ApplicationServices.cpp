#include "Orvel/app/ApplicationServices.h"

#include "Orvel/platform/LibsecretStore.h"

namespace orvel {

ApplicationServices::ApplicationServices()
    : m_preferences(m_system.services().defaults, std::make_shared<LibsecretStore>()) {}

} // namespace orvel
