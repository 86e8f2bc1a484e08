#include "Orvel/platform/LibsecretStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "tests/Orvel/platform/PrivateKeyring.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

constexpr const char* service = "Orvel model endpoint";

// Declared first: once a test of this process has talked to a keyring, GLib keeps that bus connection.
TEST(LibsecretStore, WithoutASessionBusEveryCallFailsWithAClearError) {
    testing::ScratchFolder scratch;
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (scratch / "no-bus").string()).c_str(), 1);
    struct Case {
        const char* name;
        std::function<void(LibsecretStore&)> call;
    };
    const std::vector<Case> cases{
        {"read", [](LibsecretStore& store) { store.read(service, "api.example.com"); }},
        {"write", [](LibsecretStore& store) { store.write(service, "api.example.com", "key"); }},
        {"remove", [](LibsecretStore& store) { store.remove(service, "api.example.com"); }},
    };
    LibsecretStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call(store);
            ADD_FAILURE() << "no error";
        } catch (const SecretStoreError& error) {
            EXPECT_NE(std::string(error.what()).find("keyring"), std::string::npos) << error.what();
        }
    }
}

TEST(LibsecretStore, KeepsOneSecretPerServiceAndAccount) {
    testing::ScratchFolder scratch;
    testing::PrivateKeyring keyring(scratch.path());
    if (!keyring.problem().empty())
        GTEST_SKIP() << "No private Secret Service here: " << keyring.problem();

    enum class Step { write, remove, read };
    struct Case {
        const char* name;
        Step step;
        std::string service, account, secret;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"nothing stored yet", Step::read, service, "a.example", "", std::nullopt},
        {"store a", Step::write, service, "a.example", "key-a", std::nullopt},
        {"read a", Step::read, service, "a.example", "", "key-a"},
        {"another account has none", Step::read, service, "b.example", "", std::nullopt},
        {"store b", Step::write, service, "b.example", "schlüssel ✓", std::nullopt},
        {"replace a", Step::write, service, "a.example", "key-a2", std::nullopt},
        {"read the replacement", Step::read, service, "a.example", "", "key-a2"},
        {"another service has none", Step::read, "Another service", "a.example", "", std::nullopt},
        {"delete a", Step::remove, service, "a.example", "", std::nullopt},
        {"a is gone", Step::read, service, "a.example", "", std::nullopt},
        {"deleting again is fine", Step::remove, service, "a.example", "", std::nullopt},
        {"b stays", Step::read, service, "b.example", "", "schlüssel ✓"},
    };
    LibsecretStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.step) {
        case Step::write:
            store.write(c.service, c.account, c.secret);
            break;
        case Step::remove:
            store.remove(c.service, c.account);
            break;
        case Step::read:
            EXPECT_EQ(store.read(c.service, c.account), c.expected);
            break;
        }
    }
}

} // namespace
} // namespace orvel
