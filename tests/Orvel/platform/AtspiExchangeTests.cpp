// The wait for a batch of answers: an app that keeps answering is waited for however long the batch
// takes, one that answers nothing for the time-out gives the read up, and no read outlasts its bound.

#include <QDBusConnection>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "Orvel/platform/AtspiExchange.h"
#include "tests/Orvel/platform/PrivateSessionBus.h"

namespace orvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Answers every question after `delay`, one at a time, from a thread of its own.
class SlowService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvel.Slow")

  public:
    std::atomic<milliseconds> delay{milliseconds(0)};

  public slots:
    int Answer() {
        std::this_thread::sleep_for(delay.load());
        return 7;
    }
};

struct DBusConnectionClose {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};

TEST(AtspiExchangeTests, TheReadWaitsForAnAppThatKeepsAnsweringAndGivesUpOnOneThatDoesNot) {
    testing::PrivateSessionBus session;
    if (session.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed or did not start; the exchange is not tested";
    struct Case {
        std::string name;
        milliseconds delay;
        int questions;
        int timeoutMs;
        // The read's bound, from its start; none within the case.
        std::optional<milliseconds> bound;
        bool cut;
    };
    const std::vector<Case> cases{
        // Each answer well within the time-out, all of them together well beyond it.
        {"an app that answers slowly but steadily", milliseconds(60), 12, 300, std::nullopt, false},
        {"an app that answers nothing in time", milliseconds(800), 1, 300, std::nullopt, true},
        {"a read that outlasts its bound", milliseconds(60), 12, 300, milliseconds(300), true},
    };
    QThread serviceThread;
    serviceThread.start();
    SlowService service;
    service.moveToThread(&serviceThread);
    QDBusConnection serving = session.connect(QStringLiteral("slow-service"));
    ASSERT_TRUE(serving.registerObject("/slow", &service, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(serving.registerService("org.orvel.Slow"));
    DBusError error;
    dbus_error_init(&error);
    std::unique_ptr<DBusConnection, DBusConnectionClose> client(
        dbus_connection_open_private(session.address().toUtf8().constData(), &error));
    ASSERT_TRUE(client && dbus_bus_register(client.get(), &error)) << error.message;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service.delay = c.delay;
        AtspiExchange exchange(c.timeoutMs);
        const Clock::time_point start = Clock::now();
        if (c.bound)
            exchange.setReadDeadline(start + *c.bound);
        std::vector<AtspiExchange::Question> questions;
        for (int i = 0; i < c.questions; ++i)
            questions.push_back({client.get(), DBusMessagePtr(dbus_message_new_method_call(
                                                   "org.orvel.Slow", "/slow", "org.orvel.Slow", "Answer"))});
        int answered = 0;
        exchange.ask(std::move(questions), [&](std::size_t, DBusMessage* answer) {
            if (answer && dbus_message_get_type(answer) == DBUS_MESSAGE_TYPE_METHOD_RETURN)
                ++answered;
        });
        const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        EXPECT_EQ(exchange.cut(), c.cut) << answered << " answered in " << took.count() << " ms";
        if (c.cut) {
            EXPECT_LT(answered, c.questions);
            // Given up at the time-out or the bound, not at the end of the app's work.
            EXPECT_LT(took, c.delay * c.questions);
        } else {
            EXPECT_EQ(answered, c.questions);
        }
        // What the service still works on must not reach the next case.
        std::this_thread::sleep_for(c.delay * c.questions - took + milliseconds(50));
        dbus_connection_read_write_dispatch(client.get(), 0);
    }
    serving.unregisterService("org.orvel.Slow");
    serving.unregisterObject("/slow");
    serviceThread.quit();
    serviceThread.wait();
    dbus_error_free(&error);
}

} // namespace
} // namespace orvel

#include "AtspiExchangeTests.moc"
