#include <QThread>

#include <atomic>

#include <gtest/gtest.h>

#include "Orvel/platform/AtspiPlatform.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel {
namespace {

// The desktop's accessibility switch, served from a thread of its own so that the platform's blocking
// calls from the test's thread get their answers.
class FakeAccessibilityStatus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled READ isEnabled WRITE setEnabled)

  public:
    bool isEnabled() const { return enabled; }
    void setEnabled(bool value) {
        enabled = value;
        ++writes;
    }

    std::atomic<bool> enabled = false;
    std::atomic<int> writes = 0;
};

TEST(AccessibilityTrustTests, TrustIsTheAccessibilityBusBeingEnabled) {
    testing::PrivateSessionBus session;
    if (session.address().isEmpty())
        GTEST_SKIP()
            << "dbus-daemon is not installed or did not start; the accessibility switch is not tested";

    struct Case {
        std::string name;
        bool served;
        bool enabled;
        bool request;
        bool trusted;
    };
    const std::vector<Case> cases{
        {"no accessibility service", false, false, false, false},
        {"switched off", true, false, false, false},
        {"switched on", true, true, false, true},
        {"asking switches it on", true, false, true, true},
        {"asking without a service changes nothing", false, false, true, false},
    };
    int connections = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++connections;
        QThread serviceThread;
        FakeAccessibilityStatus status;
        status.enabled = c.enabled;
        QDBusConnection service = session.connect(QStringLiteral("service%1").arg(connections));
        if (c.served) {
            status.moveToThread(&serviceThread);
            serviceThread.start();
            ASSERT_TRUE(
                service.registerObject("/org/a11y/bus", &status, QDBusConnection::ExportAllProperties));
            ASSERT_TRUE(service.registerService("org.a11y.Bus"));
        }
        const AtspiPlatform platform(session.connect(QStringLiteral("client%1").arg(connections)));
        if (c.request)
            platform.requestTrust();
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
