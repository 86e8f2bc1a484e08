#pragma once
// The notification bus of the desktop session: every notification travels as one D-Bus signal, so that
// companions inside target apps (and other copies of this application) see what is posted here, and
// what they post reaches the subscribers here. The wire format is described in docs/live-protocol.md.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "engine/capture/InMemoryNotificationBus.h"
#include "engine/capture/NotificationBus.h"

namespace orvel {

class SessionNotificationBus : public QObject, public NotificationBus {
    Q_OBJECT

  public:
    static constexpr const char* objectPath = "/org/orvel/Notifications";
    static constexpr const char* interfaceName = "org.orvel.Notifications";
    static constexpr const char* signalName = "Notification";
    // Name, object ("" for none), user info as a JSON object text.
    static constexpr const char* signature = "sss";

    // Create it on the thread whose event loop should run the handlers (the main thread in the
    // application): incoming notifications are delivered there.
    explicit SessionNotificationBus(QDBusConnection connection = QDBusConnection::sessionBus(),
                                    QObject* parent = nullptr);

    // False when the session bus could not be reached; posts then go nowhere and nothing arrives.
    bool isConnected() const;

    // Safe from any thread; the notification also reaches this bus's own subscribers, through the bus.
    void post(const Notification& notification) override;
    Subscription subscribe(std::string name, std::optional<std::string> object, Handler handler) override;

  private slots:
    void receive(const QString& name, const QString& object, const QString& userInfo);

  private:
    QDBusConnection m_connection;
    // Hands what arrives to the matching handlers.
    InMemoryNotificationBus m_subscribers;
};

} // namespace orvel
