#pragma once
// Where the operating system's own localizations are read, and the version string that names their
// cache. The folders keep the layout of a macOS system volume ("System/Library/CoreServices", ...)
// below a root; on Linux there is none unless one is configured, and the Apple reference then stays
// absent.

#include <filesystem>
#include <optional>
#include <string>

namespace orvel::SystemLocalizations {

// A test override when one is set, else $ORVEL_SYSTEM_ROOT when set and not empty, else none.
std::optional<std::filesystem::path> root();

// Process-wide test hook: every later call of root() gives `folder` (none: back to the normal lookup).
void setRootOverride(std::optional<std::filesystem::path> folder);

// The version of the system tree under root() in one line, which names the cache of its localizations
// and changes whenever the tree is updated or another tree is configured: a test override when one is
// set; else "Version <ProductVersion> (Build <ProductBuildVersion>)" from the tree's own
// "System/Library/CoreServices/SystemVersion.plist"; else, for a tree without one, "Root " and a digest
// of the root's path. None when no root is configured.
std::optional<std::string> operatingSystemVersionString();

// Process-wide test hook for operatingSystemVersionString() (none: back to the normal lookup).
void setVersionOverride(std::optional<std::string> version);

} // namespace orvel::SystemLocalizations
