#include "engine/capture/NotificationBus.h"

namespace orvel {

std::optional<json::Json> Notification::userInfoFrom(std::string_view text) {
    if (text.size() > maximumUserInfoBytes)
        return std::nullopt;
    try {
        json::Json value = json::parseWithinNesting(text);
        if (value.is_object())
            return value;
    } catch (const json::DecodingError&) {
    }
    return std::nullopt;
}

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
