#include "engine/capture/NotificationBus.h"

namespace orvel {

NotificationBus::Subscription& NotificationBus::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        m_cancel = std::exchange(other.m_cancel, nullptr);
    }
    return *this;
}

void NotificationBus::Subscription::reset() {
    if (auto cancel = std::exchange(m_cancel, nullptr))
        cancel();
}

} // namespace orvel
