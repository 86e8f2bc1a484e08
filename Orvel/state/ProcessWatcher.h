#pragma once
// Tells the state when an application is launched or quits, so that the list of translatable apps can
// be read again. Handlers are called on the main thread.

#include <functional>

#include "engine/capture/NotificationBus.h"

namespace orvel {

class ProcessWatcher {
  public:
    // Ending it removes the handler.
    using Subscription = NotificationBus::Subscription;

    virtual ~ProcessWatcher() = default;

    // Calls `changed` on the main thread each time a process started from an application bundle appears
    // or goes, until the subscription ends.
    [[nodiscard]] virtual Subscription subscribe(std::function<void()> changed) = 0;
};

} // namespace orvel
