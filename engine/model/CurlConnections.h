#pragma once
// The libcurl multi handles whose connection caches outlive a transfer, so that the next request to the
// same server goes over the connection the last one left open: a run's batches make no new connection
// (nor TLS handshake) each. A handle serves one transfer at a time; idle ones wait here for the next.

#include <curl/curl.h>

#include <mutex>
#include <vector>

namespace orvel {

class CurlConnections {
  public:
    // One handle, given back when the lease ends; empty when libcurl could not make one.
    class Lease {
      public:
        Lease(CurlConnections& owner, CURLM* handle) : m_owner(&owner), m_handle(handle) {}
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        CURLM* get() const { return m_handle; }
        explicit operator bool() const { return m_handle != nullptr; }

      private:
        CurlConnections* m_owner;
        CURLM* m_handle;
    };

    // The idle handle given back last (its connections the likeliest to be alive), or a new one.
    static Lease lease();

  private:
    // Beyond this many idle handles the ones given back are closed: the widest run's lanes fit.
    static constexpr std::size_t mostIdle = 32;

    void giveBack(CURLM* handle);

    std::mutex m_lock;
    std::vector<CURLM*> m_idle;
};

} // namespace orvel
