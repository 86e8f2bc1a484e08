#pragma once
// How much of a property list the system is willing to expand. The platform's parser copies a shared
// object once for every reference to it and recurses into every container, so these bound the expanded
// tree, not the file.

#include <cstdint>

namespace orvel {

struct PropertyListLimits {
    // Nodes of the expanded tree: every reference to an object counts it again.
    std::uint64_t maximumNodes = std::uint64_t{1} << 20;
    // Containers within containers below the root (the root is at depth 0).
    int maximumDepth = 256;
    // Bytes of strings and data in the expanded tree.
    std::uint64_t maximumTextBytes = std::uint64_t{64} << 20;
};

// What a measure of a property list found.
enum class PropertyListShape { fits, overLimits, malformed };

} // namespace orvel
