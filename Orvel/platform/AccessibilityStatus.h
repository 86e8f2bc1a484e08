#pragma once
// Whether the desktop's accessibility bus is enabled: only then do applications publish their element
// trees, so it stands for this process being allowed to read other apps. The switch is the session
// bus property IsEnabled of org.a11y.Status on org.a11y.Bus. The status is asked once without waiting and
// then followed through the property's change signal, so that no check waits on a slow bus launcher.

#include <QDBusConnection>
#include <QObject>

#include <atomic>

namespace orvel {

class AccessibilityStatus : public QObject {
    Q_OBJECT

  public:
    // The longest isEnabled() waits while no answer has come yet: one frame of the window.
    static constexpr int firstAnswerWaitMs = 16;

    // Asks at once and follows the changes on the thread that creates it.
    explicit AccessibilityStatus(QDBusConnection sessionBus);

    // The last known status, from any thread. Before the first answer it asks itself, waiting at most
    // firstAnswerWaitMs; a desktop that has not answered by then counts as off.
    bool isEnabled() const;
    // Asks the desktop to enable it without waiting; the status follows once it has.
    void enable();

  signals:
    void changed();

  private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changedProperties,
                           const QStringList& invalidated);

  private:
    enum class Known { unknown, off, on };

    void ask();
    void set(bool enabled);

    QDBusConnection m_sessionBus;
    std::atomic<Known> m_known{Known::unknown};
};

} // namespace orvel
