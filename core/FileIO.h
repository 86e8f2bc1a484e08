#pragma once
// Whole-file reads shared by every reader.

#include <filesystem>
#include <optional>
#include <string>

namespace orvel::FileIO {

// The file's bytes; throws std::system_error (with the path in its message) when it cannot be read.
std::string read(const std::filesystem::path& path);

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> readIfPresent(const std::filesystem::path& path);

} // namespace orvel::FileIO
