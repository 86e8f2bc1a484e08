#include "engine/capture/InMemoryNotificationBus.h"

#include <vector>

namespace orvel {

InMemoryNotificationBus::InMemoryNotificationBus() : m_registry(std::make_shared<Registry>()) {}

void InMemoryNotificationBus::post(const Notification& notification) {
    std::vector<std::shared_ptr<const Handler>> receivers;
    {
        std::lock_guard guard(m_registry->lock);
        for (const auto& [id, entry] : m_registry->entries)
            if (entry.name == notification.name && (!entry.object || entry.object == notification.object))
                receivers.push_back(entry.handler);
    }
    for (const auto& handler : receivers)
        (*handler)(notification);
}

NotificationBus::Subscription
InMemoryNotificationBus::subscribe(std::string name, std::optional<std::string> object, Handler handler) {
    std::uint64_t id = 0;
    {
        std::lock_guard guard(m_registry->lock);
        id = m_registry->nextID++;
        m_registry->entries.emplace(id, Entry{std::move(name), std::move(object),
                                              std::make_shared<const Handler>(std::move(handler))});
    }
    return Subscription([weak = std::weak_ptr<Registry>(m_registry), id] {
        if (auto registry = weak.lock()) {
            std::lock_guard guard(registry->lock);
            registry->entries.erase(id);
        }
    });
}

} // namespace orvel
