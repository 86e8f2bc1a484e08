#pragma once
// A notification bus inside one process: post() calls the matching handlers on the posting thread.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "engine/capture/NotificationBus.h"

namespace orvel {

class InMemoryNotificationBus : public NotificationBus {
  public:
    InMemoryNotificationBus();

    // Handlers may post and subscribe themselves; they run outside the bus's lock, in subscription order.
    void post(const Notification& notification) override;
    Subscription subscribe(std::string name, std::optional<std::string> object, Handler handler) override;

  private:
    struct Entry {
        std::string name;
        std::optional<std::string> object;
        std::shared_ptr<const Handler> handler;
    };
    struct Registry {
        std::mutex lock;
        std::uint64_t nextID = 0;
        std::map<std::uint64_t, Entry> entries;
    };

    // Shared with the subscriptions, so that one outliving the bus can still end safely.
    std::shared_ptr<Registry> m_registry;
};

} // namespace orvel
