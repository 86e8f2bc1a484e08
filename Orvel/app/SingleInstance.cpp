#include "Orvel/app/SingleInstance.h"

#include "Orvel/app/InstanceMessage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QTimer>

#include <cerrno>
#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvel {
namespace {

// A folder that exists, is no link, belongs to this user and that nobody else may enter: a socket
// inside cannot be taken or reached by another user. Made with mode 0700 when missing and `create`.
bool isPrivateFolder(const QString& folder, bool create) {
    const QByteArray path = QFile::encodeName(folder);
    if (create && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return false;
    return S_ISDIR(status.st_mode) && status.st_uid == ::getuid() && (status.st_mode & 0077) == 0;
}

// The other end of a local socket runs as this user.
bool isSameUser(qintptr descriptor) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (descriptor < 0 ||
        ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
}

} // namespace

QString SingleInstance::serverName(const std::filesystem::path& home) {
    const QByteArray homeKey =
        QCryptographicHash::hash(QByteArray::fromStdString(home.lexically_normal().string()),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString socket = QStringLiteral("orvel-%1.socket").arg(QString::fromLatin1(homeKey));
    // The variable itself: Qt's lookup would make up a folder (with a warning) where the session has none.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime, false))
        return QDir(runtime).filePath(socket);
    // Another user can guess this name, so it must be ours before anything is put in it.
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("orvel-%1").arg(::getuid()));
    if (!isPrivateFolder(folder, true))
        return {};
    return QDir(folder).filePath(socket);
}

bool SingleInstance::forward(const QString& name, const QStringList& links, int timeoutMs) {
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs) || !isSameUser(socket.socketDescriptor()))
        return false;
    std::vector<std::string> texts;
    for (const QString& link : links)
        texts.push_back(link.toStdString());
    const std::string message = InstanceMessage::of(texts);
    socket.write(message.data(), static_cast<qint64>(message.size()));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    // Whatever listens must say it took the links; anything else leaves this start to run on its own.
    const QByteArray expected(acknowledgement);
    QByteArray answer;
    while (answer.size() < expected.size() && expected.startsWith(answer)) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs))
            break;
        answer += socket.read(expected.size() - answer.size());
    }
    socket.abort();
    return answer == expected;
}

SingleInstance::SingleInstance(QObject* parent, int connectionTimeoutMs)
    : QObject(parent), m_connectionTimeoutMs(connectionTimeoutMs) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

QString SingleInstance::errorString() const {
    return m_error.isEmpty() ? m_server.errorString() : m_error;
}

bool SingleInstance::listen(const QString& name) {
    m_error.clear();
    if (name.isEmpty()) {
        m_error = QStringLiteral("No folder that only this user can open could hold the socket.");
        return false;
    }
    if (m_server.listen(name))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Left behind by an instance that ended without removing it, or held by something that is not this
    // user's Orvel: nobody took forward()'s links.
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!isSameUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        // A peer that connects and then sends nothing, or never finishes, holds nothing for long.
        QTimer::singleShot(m_connectionTimeoutMs, socket, [socket] { socket->abort(); });
        struct Message {
            std::string bytes;
            bool taken = false;
        };
        auto message = std::make_shared<Message>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, message] {
            if (message->taken)
                return;
            message->bytes += socket->readAll().toStdString();
            const InstanceMessage::State state = InstanceMessage::state(message->bytes);
            if (state == InstanceMessage::State::tooLarge) {
                socket->abort();
                return;
            }
            if (state == InstanceMessage::State::incomplete)
                return;
            message->taken = true;
            for (const std::string& link : InstanceMessage::links(message->bytes))
                emit linkReceived(QString::fromStdString(link));
            emit activationRequested();
            socket->write(acknowledgement);
            socket->disconnectFromServer();
        });
    }
}

} // namespace orvel
