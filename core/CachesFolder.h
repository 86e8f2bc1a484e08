#pragma once
// The user's folder for data that can be made again (downloaded references and their kept files).

#include <filesystem>
#include <optional>

namespace orvel::CachesFolder {

// A test override when one is set, else $XDG_CACHE_HOME when it is an absolute path, else
// OrvelPaths::home()/.cache.
std::filesystem::path path();

// Process-wide test hook: every later call of path() gives `folder` (or the normal lookup again when
// `folder` is empty).
void setOverride(std::optional<std::filesystem::path> folder);

} // namespace orvel::CachesFolder
