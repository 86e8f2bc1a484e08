#pragma once
// How many elements a read kept, for the tests and benchmarks of real windows.

#include "engine/capture/AXReader.h"

namespace orvel::testing {

inline int nodeCount(const AXNode& node) {
    int out = 1;
    for (const AXNode& child : node.children)
        out += nodeCount(child);
    return out;
}

inline int nodeCount(const AXReader::WindowList& windows) {
    int out = 0;
    for (const auto& [title, tree] : windows)
        out += nodeCount(tree);
    return out;
}

} // namespace orvel::testing
