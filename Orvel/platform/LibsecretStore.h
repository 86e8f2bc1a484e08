#pragma once
// The secret store of the desktop session (the Secret Service, through libsecret): one item per pair of
// the attributes "service" and "account" in the default collection. Calls are made one at a time, so a
// write's delete and add never interleave with another call. Without a reachable Secret Service every
// call throws SecretStoreError saying so.

#include <mutex>

#include "Orvel/state/SecretStore.h"

namespace orvel {

class LibsecretStore : public SecretStore {
  public:
    std::optional<std::string> read(const std::string& service, const std::string& account) override;
    void write(const std::string& service, const std::string& account, const std::string& secret) override;
    void remove(const std::string& service, const std::string& account) override;

  private:
    std::mutex m_mutex;
};

} // namespace orvel
