#include "Orvel/state/PollingProcessWatcher.h"

#include <utility>
#include <vector>

namespace orvel {

PollingProcessWatcher::PollingProcessWatcher(const AppPlatform& platform, TimerFactory& timers,
                                             std::chrono::milliseconds interval)
    : m_platform(platform), m_interval(interval), m_timer(timers.makeTimer([this] { tick(); })) {}

PollingProcessWatcher::~PollingProcessWatcher() {
    *m_self = nullptr;
}

ProcessWatcher::Subscription PollingProcessWatcher::subscribe(std::function<void()> changed) {
    if (m_handlers.empty()) {
        // What runs now is the base; only what changes after it is news.
        m_last = look();
        m_timer->start(m_interval);
    }
    const std::uint64_t id = m_nextHandler++;
    m_handlers.emplace(id, std::move(changed));
    return Subscription([self = std::weak_ptr(m_self), id] {
        const auto owner = self.lock();
        if (!owner || !*owner)
            return;
        PollingProcessWatcher& watcher = **owner;
        watcher.m_handlers.erase(id);
        if (watcher.m_handlers.empty())
            watcher.m_timer->stop();
    });
}

PollingProcessWatcher::Snapshot PollingProcessWatcher::look() const {
    Snapshot snapshot;
    for (const RunningApplication& running : m_platform.runningApplications())
        snapshot.emplace(running.processIdentifier, running.bundleURL);
    return snapshot;
}

void PollingProcessWatcher::tick() {
    Snapshot now = look();
    const bool changed = now != m_last;
    m_last = std::move(now);
    m_timer->start(m_interval);
    if (!changed)
        return;
    // A handler may end its own or another subscription while the others are called.
    std::vector<std::uint64_t> ids;
    for (const auto& [id, handler] : m_handlers)
        ids.push_back(id);
    for (const std::uint64_t id : ids)
        if (auto found = m_handlers.find(id); found != m_handlers.end())
            std::function<void()>(found->second)();
}

} // namespace orvel
