#include "Orvel/app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

#include <memory>
#include <unistd.h>

namespace orvel {

QString SingleInstance::serverName(const std::filesystem::path& home) {
    const QByteArray homeKey =
        QCryptographicHash::hash(QByteArray::fromStdString(home.lexically_normal().string()),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    // The variable itself: Qt's lookup would make up a folder (with a warning) where the session has none.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("orvel-%1.socket").arg(QString::fromLatin1(homeKey)));
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("orvel-%1-%2.socket").arg(::getuid()).arg(QString::fromLatin1(homeKey)));
}

bool SingleInstance::forward(const QString& name, const QStringList& links, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    for (const QString& link : links)
        message += link.toUtf8() + '\n';
    socket.write(message);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

bool SingleInstance::listen(const QString& name) {
    if (m_server.listen(name))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Left behind by an instance that ended without removing it: nobody answered forward().
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [socket, received] {
            *received += socket->readAll();
            // Kept whole, so that the end of the connection sees why it ended.
            if (received->size() > maximumMessageBytes)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
            if (socket->bytesAvailable() > 0)
                *received += socket->readAll();
            socket->deleteLater();
            // Only whole lines count: a sender that broke off (or was cut off) leaves a partial last one.
            if (received->size() > maximumMessageBytes)
                return;
            const qsizetype end = received->lastIndexOf('\n');
            for (const QByteArray& line : received->left(end + 1).split('\n'))
                if (!line.isEmpty())
                    emit linkReceived(QString::fromUtf8(line));
            emit activationRequested();
        });
    }
}

} // namespace orvel
