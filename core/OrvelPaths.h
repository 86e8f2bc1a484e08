#pragma once
// The folders shared with the companion inside target apps. The layout mirrors the companion's own
// (macOS-style "Library/Application Support" and sandbox containers under the home folder); it is the
// contract between the two sides, so it is kept literally.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::OrvelPaths {

inline constexpr std::string_view folderName = "Orvel";

// The user's real home folder: a test override when one is set, else $ORVEL_HOME when set and not
// empty, else the user database entry of the current user, else $HOME.
std::filesystem::path home();

// Process-wide test hook: every later call of home() gives `folder`; nothing restores the normal lookup.
void setHomeOverride(std::optional<std::filesystem::path> folder);

// home/Library/Application Support/Orvel/<bundleID>, or, for a sandboxed app, the same inside its
// container: home/Library/Containers/<bundleID>/Data/Library/Application Support/Orvel/<bundleID>.
// Throws UnsafeNameError for an identifier that is not one plain path component ("", ".", "..", or
// one holding "/" or NUL), which would name a folder outside "Application Support/Orvel".
std::filesystem::path dataFolder(std::string_view bundleID, bool sandboxed,
                                 const std::filesystem::path& home = OrvelPaths::home());

// The folder the target app itself can change below the data folder: its container's "Data" folder
// when sandboxed, else the data folder. Throws UnsafeNameError like dataFolder().
std::filesystem::path appOwnedFolder(std::string_view bundleID, bool sandboxed,
                                     const std::filesystem::path& home = OrvelPaths::home());

// folder/<code>.lproj
std::filesystem::path lproj(std::string_view code, const std::filesystem::path& folder);

// The sorted codes of the ".lproj" subfolders that hold ".strings" or ".stringsdict" files; applied to
// a data folder, the languages that have an overlay. A folder that cannot be listed counts as empty;
// a symbolic link in place of a ".lproj" folder or a table file is not followed and counts as absent.
std::vector<std::string> languages(const std::filesystem::path& folder);

// bundle/Contents/Resources/Orvel
std::filesystem::path manifestFolder(const std::filesystem::path& bundle);

// The data folder as the target app itself sees it: its own home ($HOME, else home()) +
// Library/Application Support/Orvel/<bundleID>. Throws UnsafeNameError like dataFolder().
std::filesystem::path ownDataFolder(std::string_view bundleID);

} // namespace orvel::OrvelPaths
