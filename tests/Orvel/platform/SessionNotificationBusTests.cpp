#include <QDBusMessage>
#include <QTest>

#include <gtest/gtest.h>

#include "Orvel/platform/SessionNotificationBus.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel {
namespace {

// Sent after each case: signals from one sender arrive in order, so once it is in, anything of the case
// that was going to arrive has arrived.
const std::string sentinel = "test.sentinel";

struct Received {
    std::vector<Notification> notifications;
    bool sentinelSeen = false;
};

using Fields = std::tuple<std::string, std::optional<std::string>, json::Json>;

std::vector<Fields> fields(const std::vector<Notification>& notifications) {
    std::vector<Fields> out;
    for (const Notification& n : notifications)
        out.emplace_back(n.name, n.object, n.userInfo);
    return out;
}

TEST(SessionNotificationBusTests, NotificationsCrossTheSessionBusAsOneSignal) {
    testing::PrivateSessionBus session;
    if (session.address().isEmpty())
        GTEST_SKIP()
            << "dbus-daemon is not installed or did not start; the session bus round trip is not tested";

    struct Case {
        std::string name;
        // Raw signal arguments sent instead of post() when set: what another process might send.
        std::optional<QStringList> raw;
        Notification posted;
        std::string subscribedName;
        std::optional<std::string> subscribedObject;
        bool toSelf;
        bool delivered;
    };
    const Notification command{.name = "orvel.command",
                               .object = "com.example.Notes",
                               .userInfo =
                                   json::parse(R"({"command": "probe", "on": true, "n": 2.5, "s": "é/x"})")};
    const Notification bare{.name = "orvel.state", .object = std::nullopt, .userInfo = json::Json::object()};
    const std::vector<Case> cases{
        {"name, object and payload", std::nullopt, command, "orvel.command", std::nullopt, false, true},
        {"filtered by its object", std::nullopt, command, "orvel.command", "com.example.Notes", false, true},
        {"another object is not delivered", std::nullopt, command, "orvel.command", "com.example.Other",
         false, false},
        {"another name is not delivered", std::nullopt, command, "orvel.state", std::nullopt, false, false},
        {"no object arrives as none", std::nullopt, bare, "orvel.state", std::nullopt, false, true},
        {"the poster's own subscribers hear it", std::nullopt, command, "orvel.command", std::nullopt, true,
         true},
        {"a payload that is no JSON is dropped", QStringList{"orvel.state", "", "not json"}, bare,
         "orvel.state", std::nullopt, false, false},
        {"a payload that is no object is dropped", QStringList{"orvel.state", "", "[1, 2]"}, bare,
         "orvel.state", std::nullopt, false, false},
        {"a raw signal of another process", QStringList{"orvel.state", "com.example.Notes", "{}"},
         Notification{.name = "orvel.state", .object = "com.example.Notes", .userInfo = json::Json::object()},
         "orvel.state", std::nullopt, false, true},
    };
    int connections = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDBusConnection posterConnection = session.connect(QStringLiteral("poster%1").arg(++connections));
        SessionNotificationBus poster(posterConnection);
        SessionNotificationBus listener(session.connect(QStringLiteral("listener%1").arg(connections)));
        ASSERT_TRUE(poster.isConnected());
        NotificationBus& receiving = c.toSelf ? static_cast<NotificationBus&>(poster) : listener;

        Received received;
        auto subscription =
            receiving.subscribe(c.subscribedName, c.subscribedObject,
                                [&](const Notification& n) { received.notifications.push_back(n); });
        auto sentinelSubscription = receiving.subscribe(
            sentinel, std::nullopt, [&](const Notification&) { received.sentinelSeen = true; });
        if (c.raw) {
            QDBusMessage message = QDBusMessage::createSignal(SessionNotificationBus::objectPath,
                                                              SessionNotificationBus::interfaceName,
                                                              SessionNotificationBus::signalName);
            for (const QString& argument : *c.raw)
                message << argument;
            posterConnection.send(message);
        } else {
            poster.post(c.posted);
        }
        poster.post(Notification{.name = sentinel, .object = std::nullopt, .userInfo = json::Json::object()});

        ASSERT_TRUE(QTest::qWaitFor([&] { return received.sentinelSeen; }, 5000));
        if (c.delivered)
            EXPECT_EQ(fields(received.notifications), fields({c.posted}));
        else
            EXPECT_TRUE(received.notifications.empty());
    }
}

} // namespace
} // namespace orvel
