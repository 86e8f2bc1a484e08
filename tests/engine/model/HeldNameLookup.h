#pragma once
// Plays a name server that does not answer: looking up `heldHostName` blocks until the test lets it go
// (or ten seconds pass), so a test can stop a request while its host name is still being resolved.

#include <string_view>

namespace orvel::testing {

inline constexpr std::string_view heldHostName = "held-lookup.invalid";

// Whether a lookup of the held host name began within ten seconds.
bool waitForHeldLookup();
// Lets every held lookup fail with "no such host", now and from now on until the next hold.
void releaseHeldLookups();
// Makes the next lookups of the held host name block again.
void holdLookups();

} // namespace orvel::testing
