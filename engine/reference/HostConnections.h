#pragma once
// A cap on the requests open to one host at once; further requests to that host wait their turn.

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>

namespace orvel {

class HostConnections {
  public:
    explicit HostConnections(std::size_t perHost) : m_perHost(perHost) {}
    HostConnections(const HostConnections&) = delete;
    HostConnections& operator=(const HostConnections&) = delete;

    // Holds one of the host's connections for as long as it lives.
    class Slot {
      public:
        Slot(HostConnections& owner, std::string host) : m_owner(owner), m_host(std::move(host)) {}
        ~Slot() { m_owner.release(m_host); }
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;

      private:
        HostConnections& m_owner;
        std::string m_host;
    };

    // Waits until the host has a free connection and takes it; throws CancellationError when `stop` is
    // requested first.
    Slot acquire(const std::string& host, const std::stop_token& stop);

  private:
    void release(const std::string& host);

    const std::size_t m_perHost;
    std::mutex m_lock;
    std::condition_variable_any m_freed;
    std::map<std::string, std::size_t> m_open;
};

} // namespace orvel
