#pragma once
// Combining hashes of several fields into one, for records hashed over all their fields.

#include <cstddef>
#include <functional>

namespace orvel {

template <class T> void hashCombine(std::size_t& seed, const T& value) {
    seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace orvel
