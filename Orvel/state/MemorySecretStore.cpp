#include "Orvel/state/MemorySecretStore.h"

namespace orvel {

std::optional<std::string> MemorySecretStore::read(const std::string& service, const std::string& account) {
    std::lock_guard lock(m_mutex);
    ++m_reads;
    requireReachable();
    auto found = m_items.find({service, account});
    if (found == m_items.end())
        return std::nullopt;
    return found->second;
}

void MemorySecretStore::write(const std::string& service, const std::string& account,
                              const std::string& secret) {
    std::lock_guard lock(m_mutex);
    ++m_changes;
    requireReachable();
    if (m_writesRefused)
        throw SecretStoreError(*m_writesRefused);
    m_items[{service, account}] = secret;
}

void MemorySecretStore::remove(const std::string& service, const std::string& account) {
    std::lock_guard lock(m_mutex);
    ++m_changes;
    requireReachable();
    m_items.erase({service, account});
}

void MemorySecretStore::setUnreachable(std::optional<std::string> reason) {
    std::lock_guard lock(m_mutex);
    m_unreachable = std::move(reason);
}

void MemorySecretStore::setWritesRefused(std::optional<std::string> reason) {
    std::lock_guard lock(m_mutex);
    m_writesRefused = std::move(reason);
}

std::optional<std::string> MemorySecretStore::peek(const std::string& service,
                                                   const std::string& account) const {
    std::lock_guard lock(m_mutex);
    auto found = m_items.find({service, account});
    if (found == m_items.end())
        return std::nullopt;
    return found->second;
}

int MemorySecretStore::readCount() const {
    std::lock_guard lock(m_mutex);
    return m_reads;
}

int MemorySecretStore::changeCount() const {
    std::lock_guard lock(m_mutex);
    return m_changes;
}

void MemorySecretStore::requireReachable() const {
    if (m_unreachable)
        throw SecretStoreError(*m_unreachable);
}

} // namespace orvel
