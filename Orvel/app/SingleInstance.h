#pragma once
// One Orvel per person and home folder: a later start hands its links (orvel://… in its arguments) to
// the instance that runs, over a local socket only that person can open, and ends.
//
// Wire format: the links as UTF-8 lines, each ended by a line feed, then the connection closes. The
// receiver drops a connection that sends more than maximumMessageBytes.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace orvel {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    static constexpr qsizetype maximumMessageBytes = 64 * 1024;

    // The socket of the instance for `home`: in the session's runtime folder when there is one, else in
    // the temporary folder under the user's id. Instances for other homes run side by side.
    static QString serverName(const std::filesystem::path& home);

    // Hands `links` to the instance listening at `name`; false when none listens there.
    static bool forward(const QString& name, const QStringList& links, int timeoutMs = 3000);

    explicit SingleInstance(QObject* parent = nullptr);

    // Starts receiving at `name`, replacing a socket that no instance serves any more. Call after
    // forward() found no instance. False (with the reason in errorString()) when the socket cannot be made.
    bool listen(const QString& name);
    QString errorString() const { return m_server.errorString(); }

  signals:
    // Another start asked for this link.
    void linkReceived(const QString& link);
    // Another start ended after handing over its links: show the window.
    void activationRequested();

  private:
    void accept();

    QLocalServer m_server;
};

} // namespace orvel
