#include "core/FreedMemory.h"

#include <malloc.h>

#include <mutex>

namespace orvel::FreedMemory {

namespace {

// As many pools as the threads that run at once on a machine of a few cores; more only spread freed
// memory thinner without making the workers measurably quicker.
constexpr int mostPools = 8;

} // namespace

void release() {
    // The allocator sets itself up on its first call, and a second call made meanwhile finds it half
    // set up and crashes. That first call comes here only where another allocator serves the process
    // (under the sanitizers), but then from any worker: it is made alone.
    static std::once_flag first;
    bool trimmed = false;
    std::call_once(first, [&] {
        ::malloc_trim(0);
        trimmed = true;
    });
    if (!trimmed)
        ::malloc_trim(0);
}

void limitPools() {
    ::mallopt(M_ARENA_MAX, mostPools);
}

} // namespace orvel::FreedMemory
