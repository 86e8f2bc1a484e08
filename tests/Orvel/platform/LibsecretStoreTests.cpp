#include "Orvel/platform/LibsecretStore.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <vector>

#include "Orvel/state/Background.h"
#include "Orvel/state/ModelPreferences.h"
#include "tests/Orvel/platform/PrivateKeyring.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"
#include "tests/Orvel/state/ProcessUntil.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

constexpr const char* service = "Orvel model endpoint";

struct StoreCall {
    const char* name;
    std::function<void(LibsecretStore&)> call;
};

// Each call the store makes to the keyring.
std::vector<StoreCall> everyStoreCall() {
    return {
        {"read", [](LibsecretStore& store) { store.read(service, "api.example.com"); }},
        {"write", [](LibsecretStore& store) { store.write(service, "api.example.com", "key"); }},
        {"remove", [](LibsecretStore& store) { store.remove(service, "api.example.com"); }},
    };
}

// Declared first: once a test of this process has talked to a keyring, GLib keeps that bus connection.
TEST(LibsecretStore, WithoutASessionBusEveryCallFailsWithAClearError) {
    testing::ScratchFolder scratch;
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (scratch / "no-bus").string()).c_str(), 1);
    const std::vector<StoreCall> cases = everyStoreCall();
    LibsecretStore store;
    for (const StoreCall& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call(store);
            ADD_FAILURE() << "no error";
        } catch (const SecretStoreError& error) {
            EXPECT_NE(std::string(error.what()).find("keyring"), std::string::npos) << error.what();
        }
    }
}

// Every call to a store on a bus of the test's own that has no Secret Service, and none it could start,
// then the preferences over such a store. 0 when all went as it should; each fault is told on standard
// error.
int tryABusWithoutASecretService() {
    int faults = 0;
    const auto fault = [&](const std::string& what) {
        std::cerr << what << "\n";
        ++faults;
    };
    testing::PrivateSessionBus bus;
    if (bus.address().isEmpty()) {
        fault("the private bus did not start");
        return 1;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toStdString().c_str(), 1);

    const std::vector<StoreCall> cases = everyStoreCall();
    LibsecretStore store;
    for (const StoreCall& c : cases) {
        try {
            c.call(store);
            fault(std::string(c.name) + ": no error");
        } catch (const SecretStoreError& error) {
            if (std::string(error.what()).find("keyring") == std::string::npos)
                fault(std::string(c.name) + ": " + error.what());
        }
    }

    testing::ScratchFolder scratch;
    ModelPreferences prefs(*DefaultsStore::open("org.orvel.Orvel", scratch.path()),
                           std::make_shared<LibsecretStore>(),
                           [](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    prefs.setEndpoint("https://api.example.com/v1");
    bool loaded = false;
    prefs.loadKey(&prefs, [&] { loaded = true; });
    if (!testing::processUntil([&] { return loaded; }))
        fault("the key did not load");
    if (!prefs.keyNotKept())
        fault("the load did not tell that the key cannot be kept");
    prefs.setApiKey("typed");
    if (!waitForBackgroundWork(std::chrono::seconds(30)))
        fault("the write did not end");
    QCoreApplication::processEvents();
    if (!prefs.keyNotKept())
        fault("the write did not tell that the key cannot be kept");
    if (prefs.settings().apiKey != "typed")
        fault("the typed key is not used");
    return faults == 0 ? 0 : 1;
}

// A desktop session without a keyring: every call fails with a clear error, and the preferences use the
// typed key while telling that it cannot be kept.
TEST(LibsecretStore, ABusWithoutASecretServiceKeepsNoKeyAndSaysSo) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        GTEST_SKIP() << "No dbus-daemon here.";
    // In a process of its own: GLib keeps the bus connection a process first made for good, and the
    // other tests here talk to keyrings of their own.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Ended at once: the libraries' allocations that live for the process are no leak of this test.
    EXPECT_EXIT(std::_Exit(tryABusWithoutASecretService()), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
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
