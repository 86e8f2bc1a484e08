#pragma once
// A memory secret store whose calls can be held, so that tests decide in which order slow keyring calls
// finish.

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>

#include "Orvel/state/MemorySecretStore.h"

namespace orvel::testing {

class GatedSecretStore : public MemorySecretStore {
  public:
    // Reads of `account` wait until released.
    void holdReads(const std::string& account) {
        std::lock_guard lock(m_mutex);
        m_heldReads.insert(account);
    }
    // The next write (or removal) waits until released; later ones pass.
    void holdNextWrite() {
        std::lock_guard lock(m_mutex);
        m_holdNextWrite = true;
    }
    void releaseAll() {
        std::lock_guard lock(m_mutex);
        m_heldReads.clear();
        m_writeHeld = false;
        m_changed.notify_all();
    }
    // How many calls are waiting at a gate right now.
    int waiting() const {
        std::lock_guard lock(m_mutex);
        return m_waiting;
    }

    std::optional<std::string> read(const std::string& service, const std::string& account) override {
        wait([&] { return m_heldReads.count(account) > 0; });
        return MemorySecretStore::read(service, account);
    }
    void write(const std::string& service, const std::string& account, const std::string& secret) override {
        waitIfFirstWrite();
        MemorySecretStore::write(service, account, secret);
    }
    void remove(const std::string& service, const std::string& account) override {
        waitIfFirstWrite();
        MemorySecretStore::remove(service, account);
    }

  private:
    template <class Held> void wait(Held held) {
        std::unique_lock lock(m_mutex);
        if (!held())
            return;
        ++m_waiting;
        m_changed.wait(lock, [&] { return !held(); });
        --m_waiting;
    }
    void waitIfFirstWrite() {
        {
            std::lock_guard lock(m_mutex);
            if (!m_holdNextWrite)
                return;
            m_holdNextWrite = false;
            m_writeHeld = true;
        }
        wait([&] { return m_writeHeld; });
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<std::string> m_heldReads;
    bool m_holdNextWrite = false;
    bool m_writeHeld = false;
    int m_waiting = 0;
};

} // namespace orvel::testing
