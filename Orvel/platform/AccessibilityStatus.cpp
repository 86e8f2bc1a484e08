#include "Orvel/platform/AccessibilityStatus.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace orvel::AccessibilityStatus {
namespace {

const QString service = QStringLiteral("org.a11y.Bus");
const QString path = QStringLiteral("/org/a11y/bus");
const QString statusInterface = QStringLiteral("org.a11y.Status");
const QString property = QStringLiteral("IsEnabled");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

bool isEnabled(const QDBusConnection& sessionBus) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, propertiesInterface, QStringLiteral("Get"));
    call << statusInterface << property;
    const QDBusMessage reply = sessionBus.call(call, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    const QVariant value = reply.arguments().front().value<QDBusVariant>().variant();
    // Anything but a true Boolean is "off": a desktop that says something else has not enabled it.
    return value.typeId() == QMetaType::Bool && value.toBool();
}

bool enable(const QDBusConnection& sessionBus) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, propertiesInterface, QStringLiteral("Set"));
    call << statusInterface << property << QVariant::fromValue(QDBusVariant(true));
    const QDBusMessage reply = sessionBus.call(call, QDBus::Block, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace orvel::AccessibilityStatus
