#include "Orvel/app/SingleInstance.h"

#include "Orvel/app/InstanceMessage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <cerrno>
#include <functional>
#include <memory>
#include <string_view>

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
    const auto deadline = [timeoutMs] {
        return LocalSocket::Clock::now() + std::chrono::milliseconds(timeoutMs);
    };
    const LocalSocket::Descriptor socket =
        LocalSocket::connectTo(QFile::encodeName(name).toStdString(), deadline());
    if (!socket.valid() || !LocalSocket::isSameUser(socket.get()))
        return false;
    std::vector<std::string> texts;
    for (const QString& link : links)
        texts.push_back(link.toStdString());
    if (!LocalSocket::sendAll(socket.get(), InstanceMessage::of(texts), deadline()))
        return false;
    // Whatever listens must say it took the links; anything else leaves this start to run on its own.
    const std::string_view expected(acknowledgement);
    std::string answer;
    bool ended = false;
    while (answer.size() < expected.size() && expected.starts_with(answer) && !ended &&
           LocalSocket::waitReadable(socket.get(), deadline()))
        answer += LocalSocket::readAvailable(socket.get(), expected.size(), ended);
    return answer == expected;
}

SingleInstance::SingleInstance(QObject* parent, int connectionTimeoutMs)
    : QObject(parent), m_connectionTimeoutMs(connectionTimeoutMs) {}

SingleInstance::~SingleInstance() {
    if (m_listener.valid())
        ::unlink(m_path.c_str());
}

QString SingleInstance::errorString() const {
    return m_error;
}

bool SingleInstance::listen(const QString& name) {
    m_error.clear();
    if (name.isEmpty()) {
        m_error = QStringLiteral("No folder that only this user can open could hold the socket.");
        return false;
    }
    std::string error;
    // A socket of that name was left behind by an instance that ended without removing it, or is held by
    // something that is not this user's Orvel: nobody took forward()'s links.
    LocalSocket::Descriptor listener = LocalSocket::listenAt(QFile::encodeName(name).toStdString(), error);
    if (!listener.valid()) {
        m_error = QString::fromStdString(error);
        return false;
    }
    m_path = QFile::encodeName(name).toStdString();
    m_listener = std::move(listener);
    m_incoming = std::make_unique<QSocketNotifier>(m_listener.get(), QSocketNotifier::Read);
    connect(m_incoming.get(), &QSocketNotifier::activated, this, &SingleInstance::accept);
    return true;
}

namespace {

// One start's connection: its bytes until the message is whole, too large, or the time is up.
class Connection : public QObject {
  public:
    Connection(LocalSocket::Descriptor socket, int timeoutMs, std::function<void(const std::string&)> take,
               QObject* parent)
        : QObject(parent), m_socket(std::move(socket)), m_readable(m_socket.get(), QSocketNotifier::Read),
          m_take(std::move(take)) {
        connect(&m_readable, &QSocketNotifier::activated, this, [this] { read(); });
        // A peer that connects and then sends nothing, or never finishes, holds nothing for long.
        QTimer::singleShot(timeoutMs, this, [this] { end(); });
    }

  private:
    void read() {
        bool ended = false;
        m_bytes += LocalSocket::readAvailable(m_socket.get(), InstanceMessage::maximumBytes, ended);
        const InstanceMessage::State state = InstanceMessage::state(m_bytes);
        if (state == InstanceMessage::State::complete) {
            m_take(m_bytes);
            // The answer is a few bytes into an empty buffer: it goes at once or not at all.
            LocalSocket::sendAll(m_socket.get(), acknowledgementBytes(), LocalSocket::Clock::now());
            end();
        } else if (state == InstanceMessage::State::tooLarge || ended) {
            end();
        }
    }

    static std::string_view acknowledgementBytes() { return SingleInstance::acknowledgement; }

    void end() {
        m_readable.setEnabled(false);
        deleteLater();
    }

    LocalSocket::Descriptor m_socket;
    QSocketNotifier m_readable;
    std::string m_bytes;
    std::function<void(const std::string&)> m_take;
};

} // namespace

void SingleInstance::accept() {
    for (LocalSocket::Descriptor socket = LocalSocket::acceptNext(m_listener.get()); socket.valid();
         socket = LocalSocket::acceptNext(m_listener.get())) {
        if (!LocalSocket::isSameUser(socket.get()))
            continue;
        new Connection(
            std::move(socket), m_connectionTimeoutMs, [this](const std::string& message) { take(message); },
            this);
    }
}

void SingleInstance::take(const std::string& message) {
    for (const std::string& link : InstanceMessage::links(message))
        emit linkReceived(QString::fromStdString(link));
    emit activationRequested();
}

} // namespace orvel
