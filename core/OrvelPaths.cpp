#include "core/OrvelPaths.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

#include "core/PathComponent.h"
#include "core/UnsafeNameError.h"

namespace orvel::OrvelPaths {
namespace {

namespace fs = std::filesystem;

std::mutex overrideMutex;
std::optional<fs::path> homeOverride;

std::optional<fs::path> environmentFolder(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return fs::path(value);
}

std::optional<fs::path> userDatabaseHome() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir ||
        !*found->pw_dir)
        return std::nullopt;
    return fs::path(found->pw_dir);
}

fs::path applicationSupport(const fs::path& home) {
    return home / "Library" / "Application Support" / folderName;
}

bool isLink(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_symlink(error) || error;
}

bool holdsStringFiles(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if ((name.ends_with(".strings") || name.ends_with(".stringsdict")) && !isLink(*it))
            return true;
    }
    return false;
}

void requireSafeBundleIdentifier(std::string_view bundleID) {
    if (!isSafePathComponent(bundleID))
        throw UnsafeNameError("The bundle identifier \"" + shownName(bundleID) +
                              "\" cannot name a data folder.");
}

} // namespace

fs::path home() {
    {
        std::lock_guard lock(overrideMutex);
        if (homeOverride)
            return *homeOverride;
    }
    if (auto folder = environmentFolder("ORVEL_HOME"))
        return *folder;
    if (auto folder = userDatabaseHome())
        return *folder;
    return environmentFolder("HOME").value_or(fs::path("/"));
}

void setHomeOverride(std::optional<fs::path> folder) {
    std::lock_guard lock(overrideMutex);
    homeOverride = std::move(folder);
}

fs::path dataFolder(std::string_view bundleID, bool sandboxed, const fs::path& home) {
    requireSafeBundleIdentifier(bundleID);
    if (!sandboxed)
        return applicationSupport(home) / bundleID;
    return applicationSupport(appOwnedFolder(bundleID, sandboxed, home)) / bundleID;
}

fs::path appOwnedFolder(std::string_view bundleID, bool sandboxed, const fs::path& home) {
    if (!sandboxed)
        return dataFolder(bundleID, sandboxed, home);
    requireSafeBundleIdentifier(bundleID);
    return home / "Library" / "Containers" / bundleID / "Data";
}

fs::path lproj(std::string_view code, const fs::path& folder) {
    return folder / (std::string(code) + ".lproj");
}

std::vector<std::string> languages(const fs::path& folder) {
    std::vector<std::string> codes;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& entry = it->path();
        if (entry.extension() == ".lproj" && !isLink(*it) && holdsStringFiles(entry))
            codes.push_back(entry.stem().string());
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

fs::path manifestFolder(const fs::path& bundle) {
    return bundle / "Contents" / "Resources" / folderName;
}

fs::path ownDataFolder(std::string_view bundleID) {
    requireSafeBundleIdentifier(bundleID);
    return applicationSupport(environmentFolder("HOME").value_or(home())) / bundleID;
}

} // namespace orvel::OrvelPaths
