#pragma once
// The few calls on Unix domain sockets that hand links from one start to the running instance, made
// directly: Qt's own local sockets come with its network module, which would load its proxy and Kerberos
// libraries into every window.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::LocalSocket {

// A descriptor that is closed with its owner.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;

    int get() const { return m_descriptor; }
    bool valid() const { return m_descriptor >= 0; }

  private:
    int m_descriptor = -1;
};

using Clock = std::chrono::steady_clock;

// The other end of a connected socket runs as this user.
bool isSameUser(int descriptor);

// A connection to the socket at `path`, not blocking; invalid when nothing listens there or the
// connection is not taken before `deadline`.
Descriptor connectTo(const std::string& path, Clock::time_point deadline);

// Sends all of `bytes` before `deadline`; false when the peer went or the time ran out.
bool sendAll(int descriptor, std::string_view bytes, Clock::time_point deadline);

// Waits until `descriptor` can be read or `deadline` passes; true when it can.
bool waitReadable(int descriptor, Clock::time_point deadline);

// What can be read at once, up to a little over `limit` bytes, so that a peer that never stops sending
// cannot keep the reader in its loop: the bytes, or nothing when none are there yet. Sets `ended` at the
// end of the stream or on an error.
std::string readAvailable(int descriptor, std::size_t limit, bool& ended);

// A listening socket at `path`, readable only by this user, not blocking, replacing a file of that name
// that is there. Sets `error` (the system's reason) when it cannot be made.
Descriptor listenAt(const std::string& path, std::string& error);

// The next connection waiting on a listening socket, not blocking; invalid when none waits.
Descriptor acceptNext(int listener);

} // namespace orvel::LocalSocket
