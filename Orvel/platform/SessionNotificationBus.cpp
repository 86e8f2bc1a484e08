#include "Orvel/platform/SessionNotificationBus.h"

#include <QDBusMessage>

#include "core/Json.h"

namespace orvel {

SessionNotificationBus::SessionNotificationBus(QDBusConnection connection, QObject* parent)
    : QObject(parent), m_connection(std::move(connection)) {
    m_connection.connect(QString(), QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
                         QString::fromLatin1(signalName), QString::fromLatin1(signature), this,
                         SLOT(receive(QString, QString, QString)));
}

bool SessionNotificationBus::isConnected() const {
    return m_connection.isConnected();
}

void SessionNotificationBus::post(const Notification& notification) {
    QDBusMessage message = QDBusMessage::createSignal(
        QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName), QString::fromLatin1(signalName));
    message << QString::fromStdString(notification.name)
            << QString::fromStdString(notification.object.value_or(""))
            << QString::fromStdString(json::dump(notification.userInfo));
    m_connection.send(message);
}

NotificationBus::Subscription
SessionNotificationBus::subscribe(std::string name, std::optional<std::string> object, Handler handler) {
    return m_subscribers.subscribe(std::move(name), std::move(object), std::move(handler));
}

void SessionNotificationBus::receive(const QString& name, const QString& object, const QString& userInfo) {
    const QByteArray bytes = userInfo.toUtf8();
    auto info = Notification::userInfoFrom(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!info)
        return;
    Notification notification{.name = name.toStdString(),
                              .object = object.isEmpty() ? std::nullopt : std::optional(object.toStdString()),
                              .userInfo = std::move(*info)};
    m_subscribers.post(notification);
}

} // namespace orvel
