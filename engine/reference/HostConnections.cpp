#include "engine/reference/HostConnections.h"

#include "core/Cancellation.h"

namespace orvel {

HostConnections::Slot HostConnections::acquire(const std::string& host, const std::stop_token& stop) {
    {
        std::unique_lock lock(m_lock);
        if (!m_freed.wait(lock, stop, [&] { return m_open[host] < m_perHost; }))
            throw CancellationError();
        ++m_open[host];
    }
    return Slot(*this, host);
}

void HostConnections::release(const std::string& host) {
    {
        std::lock_guard guard(m_lock);
        if (--m_open[host] == 0)
            m_open.erase(host);
    }
    m_freed.notify_all();
}

} // namespace orvel
