#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "Orvel/platform/AtspiPlatform.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The desktop's accessibility switch, served from a thread of its own so that the platform's calls from
// the test's thread get their answers; `answerDelay` stands for a slow bus launcher.
class FakeAccessibilityStatus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled READ isEnabled WRITE setEnabled)

  public:
    bool isEnabled() const {
        std::this_thread::sleep_for(answerDelay.load());
        return enabled;
    }
    void setEnabled(bool value) {
        enabled = value;
        ++writes;
    }

    std::atomic<bool> enabled = false;
    std::atomic<int> writes = 0;
    std::atomic<milliseconds> answerDelay{milliseconds(0)};
};

// What the desktop says when another program switches accessibility on.
void announceEnabled(QDBusConnection& service) {
    QDBusMessage signal =
        QDBusMessage::createSignal("/org/a11y/bus", "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QStringLiteral("org.a11y.Status") << QVariantMap{{"IsEnabled", true}} << QStringList{};
    service.send(signal);
}

TEST(AccessibilityTrustTests, TrustIsTheAccessibilityBusBeingEnabledAndNoCheckWaitsOnTheDesktop) {
    testing::PrivateSessionBus session;
    if (session.address().isEmpty())
        GTEST_SKIP()
            << "dbus-daemon is not installed or did not start; the accessibility switch is not tested";

    struct Case {
        std::string name;
        bool served;
        bool enabled;
        bool request;
        // Another program switches it on once the first answer came.
        bool enabledElsewhere;
        milliseconds answerDelay;
        bool trusted;
    };
    const milliseconds slow(1000);
    const std::vector<Case> cases{
        {"no accessibility service", false, false, false, false, {}, false},
        {"switched off", true, false, false, false, {}, false},
        {"switched on", true, true, false, false, {}, true},
        {"asking switches it on", true, false, true, false, {}, true},
        {"asking without a service changes nothing", false, false, true, false, {}, false},
        {"switched on elsewhere later", true, false, false, true, {}, true},
        {"a slow launcher that has it on", true, true, false, false, slow, true},
    };
    int connections = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++connections;
        QThread serviceThread;
        FakeAccessibilityStatus status;
        status.enabled = c.enabled;
        status.answerDelay = c.answerDelay;
        QDBusConnection service = session.connect(QStringLiteral("service%1").arg(connections));
        if (c.served) {
            status.moveToThread(&serviceThread);
            serviceThread.start();
            ASSERT_TRUE(
                service.registerObject("/org/a11y/bus", &status, QDBusConnection::ExportAllProperties));
            ASSERT_TRUE(service.registerService("org.a11y.Bus"));
        }
        const AtspiPlatform platform(session.connect(QStringLiteral("client%1").arg(connections)));
        QSignalSpy changes(&platform.status(), &AccessibilityStatus::changed);

        // However slow the desktop, a check takes no longer than about a frame.
        const Clock::time_point before = Clock::now();
        const bool first = platform.isTrusted();
        EXPECT_LT(Clock::now() - before, milliseconds(500));
        if (c.answerDelay > milliseconds(0)) {
            EXPECT_FALSE(first) << "the status was known before the desktop answered";
        }

        EXPECT_TRUE(changes.wait(5000)) << "the first answer never came";
        if (c.request)
            platform.requestTrust();
        if (c.enabledElsewhere) {
            EXPECT_FALSE(platform.isTrusted());
            status.enabled = true;
            announceEnabled(service);
        }
        if ((c.request || c.enabledElsewhere) && c.trusted) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return platform.isTrusted(); }, 5000));
        }
        EXPECT_EQ(platform.isTrusted(), c.trusted);
        EXPECT_EQ(status.writes, c.served && c.request ? 1 : 0);
        if (c.served) {
            service.unregisterService("org.a11y.Bus");
            service.unregisterObject("/org/a11y/bus");
            serviceThread.quit();
            serviceThread.wait();
        }
    }
}

} // namespace
} // namespace orvel

#include "AccessibilityTrustTests.moc"
