#pragma once
// The user's folder for data that can be rebuilt at any time, following the desktop convention.

#include <filesystem>

namespace orvel::CachesFolder {

// $XDG_CACHE_HOME when it is set to an absolute path, else the home folder (OrvelPaths::home()) +
// ".cache".
std::filesystem::path path();

} // namespace orvel::CachesFolder
