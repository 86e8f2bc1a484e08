#include "HeldNameLookup.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include <dlfcn.h>
#include <netdb.h>

namespace orvel::testing {
namespace {

struct State {
    std::mutex lock;
    std::condition_variable changed;
    bool holding = true;
    int started = 0;
};

State& state() {
    static State instance;
    return instance;
}

} // namespace

bool waitForHeldLookup() {
    auto& s = state();
    std::unique_lock lock(s.lock);
    return s.changed.wait_for(lock, std::chrono::seconds(10), [&] { return s.started > 0; });
}

void releaseHeldLookups() {
    auto& s = state();
    {
        std::lock_guard guard(s.lock);
        s.holding = false;
    }
    s.changed.notify_all();
}

void holdLookups() {
    auto& s = state();
    std::lock_guard guard(s.lock);
    s.holding = true;
    s.started = 0;
}

} // namespace orvel::testing

// Defined in the test program, this takes the place of the C library's lookup for every library loaded
// with it; names other than the held one go on to the real lookup.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result) {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto next = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (!node || orvel::testing::heldHostName != node)
        return next(node, service, hints, result);
    auto& s = orvel::testing::state();
    std::unique_lock lock(s.lock);
    ++s.started;
    s.changed.notify_all();
    s.changed.wait_for(lock, std::chrono::seconds(10), [&] { return !s.holding; });
    return EAI_NONAME;
}
