#include "core/FreedMemory.h"

#include <malloc.h>

namespace orvel::FreedMemory {

namespace {

// As many pools as the threads that run at once on a machine of a few cores; more only spread freed
// memory thinner without making the workers measurably quicker.
constexpr int mostPools = 8;

} // namespace

void release() {
    ::malloc_trim(0);
}

void limitPools() {
    ::mallopt(M_ARENA_MAX, mostPools);
}

} // namespace orvel::FreedMemory
