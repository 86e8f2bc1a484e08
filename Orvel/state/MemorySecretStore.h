#pragma once
// A secret store that lives in memory for the life of the process: the stand-in for tests and for a
// session without a keyring of its own. It can be made unreachable to show how callers cope.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "Orvel/state/SecretStore.h"

namespace orvel {

class MemorySecretStore : public SecretStore {
  public:
    std::optional<std::string> read(const std::string& service, const std::string& account) override;
    void write(const std::string& service, const std::string& account, const std::string& secret) override;
    void remove(const std::string& service, const std::string& account) override;

    // With a reason, every later call throws SecretStoreError with it; without, calls work again.
    void setUnreachable(std::optional<std::string> reason);
    // With a reason, later writes throw SecretStoreError with it while reads and removals work: a keyring
    // that runs but has nowhere to keep a new secret.
    void setWritesRefused(std::optional<std::string> reason);

    // What the item holds, without counting as a read.
    std::optional<std::string> peek(const std::string& service, const std::string& account) const;
    int readCount() const;
    // Writes and removals.
    int changeCount() const;

  private:
    void requireReachable() const;

    mutable std::mutex m_mutex;
    std::map<std::pair<std::string, std::string>, std::string> m_items;
    std::optional<std::string> m_unreachable;
    std::optional<std::string> m_writesRefused;
    int m_reads = 0;
    int m_changes = 0;
};

} // namespace orvel
