#pragma once
// One Orvel per person and home folder: a later start hands its links (orvel://… in its arguments) to
// the instance that runs, over a local socket only that person can open, and ends.
//
// Wire format: InstanceMessage. The receiver answers acknowledgement and closes; it drops a connection
// that sends more than maximumMessageBytes, that is not finished within its time-out, or whose peer
// runs as another user.

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>

#include "Orvel/app/InstanceMessage.h"
#include "Orvel/app/LocalSocket.h"

namespace orvel {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    static constexpr qsizetype maximumMessageBytes = InstanceMessage::maximumBytes;
    static constexpr int defaultConnectionTimeoutMs = 5000;
    // What the receiver answers once it took the links: only this user's Orvel says it.
    static constexpr const char* acknowledgement = "orvel\n";

    // The socket of the instance for `home`, in a folder that only this user can open: the session's
    // runtime folder when there is one, else "orvel-<uid>" in the temporary folder, made with mode 0700.
    // Empty when no such folder can be had (one of another owner, of a wider mode, or a link, holds the
    // name). Instances for other homes run side by side.
    static QString serverName(const std::filesystem::path& home);

    // Hands `links` to this user's Orvel listening at `name`; false when none took them: nothing listens,
    // the listener runs as another user or does not answer as Orvel within `timeoutMs`.
    static bool forward(const QString& name, const QStringList& links, int timeoutMs = 3000);

    explicit SingleInstance(QObject* parent = nullptr, int connectionTimeoutMs = defaultConnectionTimeoutMs);
    // Stops listening and removes the socket.
    ~SingleInstance() override;

    // Starts receiving at `name`, replacing a socket that no instance serves any more. Call after
    // forward() found no instance. False (with the reason in errorString()) when the socket cannot be made.
    bool listen(const QString& name);
    QString errorString() const;

  signals:
    // Another start asked for this link.
    void linkReceived(const QString& link);
    // Another start ended after handing over its links: show the window.
    void activationRequested();

  private:
    void accept();
    void take(const std::string& message);

    LocalSocket::Descriptor m_listener;
    std::unique_ptr<QSocketNotifier> m_incoming;
    std::string m_path;
    int m_connectionTimeoutMs;
    QString m_error;
};

} // namespace orvel
