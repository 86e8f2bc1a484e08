#include "Orvel/platform/AccessibilityStatus.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace orvel {
namespace {

const QString service = QStringLiteral("org.a11y.Bus");
const QString path = QStringLiteral("/org/a11y/bus");
const QString statusInterface = QStringLiteral("org.a11y.Status");
const QString enabledProperty = QStringLiteral("IsEnabled");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusMessage propertyCall(const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, propertiesInterface, method);
    call << statusInterface << enabledProperty;
    return call;
}

// Anything but a true Boolean is "off": a desktop that says something else has not enabled it.
bool enabledIn(const QVariant& value) {
    return value.typeId() == QMetaType::Bool && value.toBool();
}

bool enabledIn(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
           enabledIn(reply.arguments().front().value<QDBusVariant>().variant());
}

} // namespace

AccessibilityStatus::AccessibilityStatus(QDBusConnection sessionBus) : m_sessionBus(std::move(sessionBus)) {
    m_sessionBus.connect(service, path, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                         SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    ask();
}

bool AccessibilityStatus::isEnabled() const {
    const Known known = m_known;
    if (known != Known::unknown)
        return known == Known::on;
    // The first answer, on its way, sets the status and tells the followers.
    return enabledIn(m_sessionBus.call(propertyCall(QStringLiteral("Get")), QDBus::Block, firstAnswerWaitMs));
}

void AccessibilityStatus::enable() {
    QDBusMessage call = propertyCall(QStringLiteral("Set"));
    call << QVariant::fromValue(QDBusVariant(true));
    auto* watcher = new QDBusPendingCallWatcher(m_sessionBus.asyncCall(call), this);
    // A launcher that emits no change signal is asked again once it has taken the switch.
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        if (!done->isError())
            ask();
    });
}

void AccessibilityStatus::ask() {
    auto* watcher =
        new QDBusPendingCallWatcher(m_sessionBus.asyncCall(propertyCall(QStringLiteral("Get"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusMessage reply = done->reply();
        // No service or no answer: off, until the service says otherwise.
        set(enabledIn(reply));
    });
}

void AccessibilityStatus::set(bool enabled) {
    const Known now = enabled ? Known::on : Known::off;
    if (m_known.exchange(now) != now)
        emit changed();
}

void AccessibilityStatus::propertiesChanged(const QString& interface, const QVariantMap& changedProperties,
                                            const QStringList& invalidated) {
    if (interface != statusInterface)
        return;
    if (changedProperties.contains(enabledProperty))
        set(enabledIn(changedProperties.value(enabledProperty)));
    else if (invalidated.contains(enabledProperty))
        ask();
}

} // namespace orvel
