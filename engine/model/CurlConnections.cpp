#include "engine/model/CurlConnections.h"

#include "engine/model/CurlCalls.h"

namespace orvel {

CurlConnections::Lease::~Lease() {
    if (m_handle)
        m_owner->giveBack(m_handle);
}

CurlConnections::Lease CurlConnections::lease() {
    // Never destroyed: a transfer still ending on another thread while the program exits gives its
    // handle back to a pool that is still there; the system closes the sockets.
    static auto* const pool = new CurlConnections;
    {
        std::lock_guard guard(pool->m_lock);
        if (!pool->m_idle.empty()) {
            CURLM* handle = pool->m_idle.back();
            pool->m_idle.pop_back();
            return Lease(*pool, handle);
        }
    }
    return Lease(*pool, curl().multi_init());
}

void CurlConnections::giveBack(CURLM* handle) {
    {
        std::lock_guard guard(m_lock);
        if (m_idle.size() < mostIdle) {
            m_idle.push_back(handle);
            return;
        }
    }
    curl().multi_cleanup(handle);
}

} // namespace orvel
