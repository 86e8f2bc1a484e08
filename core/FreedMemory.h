#pragma once
// Reading an app's catalogs decodes tens of megabytes on several threads; the allocator keeps what they
// freed in each thread's pool, where the process would hold it for good. Handing it back after such a
// read keeps the resident size to what the application actually holds.

namespace orvel::FreedMemory {

// Returns the allocator's free pages, of every thread's pool, to the system.
void release();

} // namespace orvel::FreedMemory
