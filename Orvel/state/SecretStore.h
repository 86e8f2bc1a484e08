#pragma once
// Passwords that the desktop session keeps for the person, one per pair of service and account. Every
// call may block on another process, so the state only makes them off the main thread; an
// implementation may be called from several threads at once.

#include <optional>
#include <stdexcept>
#include <string>

namespace orvel {

// The store could not be reached or refused the operation; what() says why, for the person to read.
class SecretStoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SecretStore {
  public:
    virtual ~SecretStore() = default;

    // The secret of the item, or nothing when no item matches. Throws SecretStoreError.
    virtual std::optional<std::string> read(const std::string& service, const std::string& account) = 0;
    // Creates the item or replaces its secret. Throws SecretStoreError.
    virtual void write(const std::string& service, const std::string& account, const std::string& secret) = 0;
    // Deletes the item; when there is none, nothing happens. Throws SecretStoreError.
    virtual void remove(const std::string& service, const std::string& account) = 0;
};

} // namespace orvel
