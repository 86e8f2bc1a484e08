#include "engine/pipeline/Counter.h"

namespace orvel {

std::pair<int, Counter::Failures> Counter::record(int count, const Failures& failed) {
    std::lock_guard guard(m_lock);
    m_done += count;
    for (const auto& [id, reason] : failed)
        m_failed.insert_or_assign(id, reason);
    return {m_done, m_failed};
}

Counter::Failures Counter::failed() const {
    std::lock_guard guard(m_lock);
    return m_failed;
}

} // namespace orvel
