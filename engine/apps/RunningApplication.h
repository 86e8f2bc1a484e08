#pragma once
// One running process started from an application bundle.

#include <cstdint>
#include <filesystem>

namespace orvel {

struct RunningApplication {
    std::int32_t processIdentifier = 0;
    std::filesystem::path bundleURL;

    bool operator==(const RunningApplication&) const = default;
};

} // namespace orvel
