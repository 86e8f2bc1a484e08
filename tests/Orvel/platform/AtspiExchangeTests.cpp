// The wait for a batch of answers: an app that keeps answering is waited for however long the batch
// takes, one that answers nothing for the time-out gives the read up, and no read outlasts its bound.

#include <QDBusConnection>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <stop_token>
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
using ClientConnection = std::unique_ptr<DBusConnection, DBusConnectionClose>;

// A connection of the reader's kind to the test's bus, registered; empty, with the bus's message, when
// it cannot be made.
ClientConnection registeredClient(const testing::PrivateSessionBus& session, std::string& failure) {
    DBusError error;
    dbus_error_init(&error);
    ClientConnection client(dbus_connection_open_private(session.address().toUtf8().constData(), &error));
    if (!client || !dbus_bus_register(client.get(), &error)) {
        failure = error.message ? error.message : "no connection";
        dbus_error_free(&error);
        return nullptr;
    }
    return client;
}

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
    std::string failure;
    const ClientConnection client = registeredClient(session, failure);
    ASSERT_TRUE(client) << failure;

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
}

// Answers its first questions, then quits as an app does: its connection closes and its name leaves the
// bus, so that the bus itself answers what it was still asked.
class QuittingService {
  public:
    QuittingService(const QString& address, int quitsAt) {
        DBusError error;
        dbus_error_init(&error);
        m_connection = dbus_connection_open_private(address.toUtf8().constData(), &error);
        if (m_connection && dbus_bus_register(m_connection, &error) &&
            dbus_bus_request_name(m_connection, "org.orvel.Quitting", DBUS_NAME_FLAG_DO_NOT_QUEUE, &error) ==
                DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER)
            m_thread = std::jthread([this, quitsAt](std::stop_token stop) { serve(quitsAt, stop); });
        dbus_error_free(&error);
    }
    ~QuittingService() {
        if (m_thread.joinable()) {
            m_thread.request_stop();
            m_thread.join();
        }
        if (m_connection) {
            dbus_connection_close(m_connection);
            dbus_connection_unref(m_connection);
        }
    }
    QuittingService(const QuittingService&) = delete;
    QuittingService& operator=(const QuittingService&) = delete;

    bool serving() const { return m_thread.joinable(); }

  private:
    void serve(int quitsAt, const std::stop_token& stop) {
        int asked = 0;
        while (!stop.stop_requested() && dbus_connection_read_write(m_connection, 20)) {
            while (DBusMessage* message = dbus_connection_pop_message(m_connection)) {
                const DBusMessagePtr owned(message);
                if (!dbus_message_is_method_call(message, "org.orvel.Quitting", "Answer"))
                    continue;
                if (++asked == quitsAt) {
                    dbus_connection_close(m_connection);
                    return;
                }
                const DBusMessagePtr reply(dbus_message_new_method_return(message));
                const dbus_int32_t seven = 7;
                dbus_message_append_args(reply.get(), DBUS_TYPE_INT32, &seven, DBUS_TYPE_INVALID);
                dbus_connection_send(m_connection, reply.get(), nullptr);
            }
        }
    }

    DBusConnection* m_connection = nullptr;
    std::jthread m_thread;
};

TEST(AtspiExchangeTests, AnAppThatQuitsCutsTheReadAndItsLastAnswersDoNotCount) {
    testing::PrivateSessionBus session;
    if (session.address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed or did not start; the exchange is not tested";
    struct Case {
        std::string name;
        // The question at which the app quits; 0: it is gone before the read.
        int quitsAt;
        int questions;
    };
    const std::vector<Case> cases{
        {"an app that quits at its first question", 1, 6},
        {"an app that quits at its fifth question", 5, 12},
        {"an app gone before the read", 0, 4},
    };
    std::string failure;
    const ClientConnection client = registeredClient(session, failure);
    ASSERT_TRUE(client) << failure;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<QuittingService> app;
        if (c.quitsAt > 0) {
            app.emplace(session.address(), c.quitsAt);
            ASSERT_TRUE(app->serving());
        }
        // A time-out far beyond the case: only the app's end may cut the read.
        AtspiExchange exchange(60000);
        std::vector<AtspiExchange::Question> questions;
        for (int i = 0; i < c.questions; ++i)
            questions.push_back(
                {client.get(), DBusMessagePtr(dbus_message_new_method_call("org.orvel.Quitting", "/",
                                                                           "org.orvel.Quitting", "Answer"))});
        int answers = 0;
        int replies = 0;
        exchange.ask(std::move(questions), [&](std::size_t, DBusMessage* answer) {
            answers += answer ? 1 : 0;
            if (answer && dbus_message_get_type(answer) == DBUS_MESSAGE_TYPE_METHOD_RETURN)
                ++replies;
        });
        EXPECT_TRUE(exchange.cut());
        EXPECT_EQ(replies, std::max(0, c.quitsAt - 1));
        EXPECT_EQ(answers, replies) << "the bus's answers for the gone app were handed over as its own";
    }
}

} // namespace
} // namespace orvel

#include "AtspiExchangeTests.moc"
