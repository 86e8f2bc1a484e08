#pragma once
// How much of a property list the system is willing to expand. The platform's parser copies a shared
// object once for every reference to it and recurses into every container, so these bound the expanded
// tree, not the file.

#include <cstdint>

namespace orvel {

struct PropertyListLimits {
    // Nodes of the expanded tree: every reference to an object counts it again. The largest real lists
    // (a big app's ".stringsdict") hold tens of thousands; a few hundred bytes whose arrays share their
    // children reach this budget, and each node costs the platform's parser a copy.
    std::uint64_t maximumNodes = std::uint64_t{1} << 18;
    // Containers within containers below the root (the root is at depth 0).
    int maximumDepth = 256;
    // Bytes of strings and data in the expanded tree.
    std::uint64_t maximumTextBytes = std::uint64_t{64} << 20;
};

// For the small lists of a bundle (its Info.plist, its entitlements), read on every discovery scan: the
// largest real ones hold a few thousand nodes, while a tiny binary list whose arrays share their
// children can expand to the general budget and cost a scan hundreds of megabytes.
inline constexpr PropertyListLimits bundleListLimits{.maximumNodes = std::uint64_t{1} << 16};

// What a measure of a property list found.
enum class PropertyListShape { fits, overLimits, malformed };

} // namespace orvel
