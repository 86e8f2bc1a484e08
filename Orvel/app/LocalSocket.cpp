#include "Orvel/app/LocalSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvel::LocalSocket {
namespace {

// The address of `path`; nothing when the path does not fit one.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos)
        return std::nullopt;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

int millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 1'000'000'000));
}

// Waits for `events` on `descriptor` until `deadline`; true when one came.
bool waitFor(int descriptor, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{descriptor, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

Descriptor newSocket() {
    return Descriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

} // namespace

Descriptor::~Descriptor() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

Descriptor::Descriptor(Descriptor&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        Descriptor old(std::move(*this));
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

bool isSameUser(int descriptor) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (descriptor < 0 || ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
}

Descriptor connectTo(const std::string& path, Clock::time_point deadline) {
    const auto address = addressOf(path);
    Descriptor socket = newSocket();
    if (!address || !socket.valid())
        return {};
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0)
        return socket;
    // A listener whose queue is full takes the connection later, if at all.
    if (errno != EAGAIN && errno != EINPROGRESS)
        return {};
    if (!waitFor(socket.get(), POLLOUT, deadline))
        return {};
    int failure = 0;
    socklen_t size = sizeof failure;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &failure, &size) != 0 || failure != 0)
        return {};
    return socket;
}

bool sendAll(int descriptor, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(descriptor, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

bool waitReadable(int descriptor, Clock::time_point deadline) {
    return waitFor(descriptor, POLLIN, deadline);
}

std::string readAvailable(int descriptor, std::size_t limit, bool& ended) {
    std::string bytes;
    char buffer[4096];
    while (bytes.size() <= limit) {
        const ssize_t count = ::recv(descriptor, buffer, sizeof buffer, 0);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            ended = true;
        return bytes;
    }
    return bytes;
}

Descriptor listenAt(const std::string& path, std::string& error) {
    const auto address = addressOf(path);
    if (!address) {
        error = "The socket's path is too long.";
        return {};
    }
    Descriptor socket = newSocket();
    const auto bound = [&] {
        return ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
    };
    bool made = socket.valid() && bound();
    if (!made && socket.valid() && errno == EADDRINUSE) {
        ::unlink(path.c_str());
        made = bound();
    }
    if (!made) {
        error = std::strerror(errno);
        return {};
    }
    // Its folder is this user's alone already; the socket itself says so too.
    if (::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(socket.get(), 16) != 0) {
        error = std::strerror(errno);
        ::unlink(path.c_str());
        return {};
    }
    return socket;
}

Descriptor acceptNext(int listener) {
    for (;;) {
        const int accepted = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (accepted >= 0 || errno != EINTR)
            return Descriptor(accepted);
    }
}

} // namespace orvel::LocalSocket
