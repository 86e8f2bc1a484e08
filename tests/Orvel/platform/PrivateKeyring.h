#pragma once
// A Secret Service of the tests' own: a private session bus and a keyring daemon whose login keyring is
// created and unlocked with a password given on its standard input, all inside one scratch folder. The
// process's DBUS_SESSION_BUS_ADDRESS points at that bus while the keyring lives.

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvel::testing {

class PrivateKeyring {
  public:
    explicit PrivateKeyring(const std::filesystem::path& folder);
    // Stops the keyring and the bus it started, by their process ids.
    ~PrivateKeyring();
    PrivateKeyring(const PrivateKeyring&) = delete;
    PrivateKeyring& operator=(const PrivateKeyring&) = delete;

    // Empty once the keyring answers on the bus; otherwise why it does not.
    const std::string& problem() const { return m_problem; }

  private:
    // Starts a program with `input` on its standard input and its output in `output`; the process id,
    // or -1.
    static pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                       const std::string& input, const std::filesystem::path& output);
    // Starts a program that runs until the destructor stops it.
    bool startDaemon(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                     const std::string& input, const std::filesystem::path& output);
    bool secretsNameOwned() const;

    std::filesystem::path m_folder;
    std::string m_address;
    std::string m_problem;
    std::vector<pid_t> m_started;
};

} // namespace orvel::testing
