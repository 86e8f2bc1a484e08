#pragma once
// Reading an app's catalogs decodes tens of megabytes on several threads; the allocator keeps what they
// freed in each thread's pool, where the process would hold it for good. Handing it back after such a
// read keeps the resident size to what the application actually holds.

namespace orvel::FreedMemory {

// Returns the allocator's free pages, of every thread's pool, to the system.
void release();

// Bounds the number of the allocator's pools. By default each of the many worker threads gets a pool of
// its own, and what a thread frees stays in its pool, scattered among what it still holds, where it
// cannot be handed back: a large app's run or update then held twice what its window holds. Call once,
// before any thread starts.
void limitPools();

} // namespace orvel::FreedMemory
