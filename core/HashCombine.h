#pragma once
// Mixing the hashes of a record's fields into one.

#include <cstddef>

namespace orvel {

inline std::size_t hashCombine(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace orvel
