#include "core/CachesFolder.h"

#include <cstdlib>
#include <mutex>

#include "core/OrvelPaths.h"

namespace orvel::CachesFolder {
namespace {

std::mutex overrideMutex;
std::optional<std::filesystem::path> folderOverride;

} // namespace

std::filesystem::path path() {
    {
        std::lock_guard lock(overrideMutex);
        if (folderOverride)
            return *folderOverride;
    }
    // A relative value is invalid by the convention and is ignored, as other programs do.
    if (const char* value = std::getenv("XDG_CACHE_HOME"); value && *value == '/')
        return std::filesystem::path(value);
    return OrvelPaths::home() / ".cache";
}

void setOverride(std::optional<std::filesystem::path> folder) {
    std::lock_guard lock(overrideMutex);
    folderOverride = std::move(folder);
}

} // namespace orvel::CachesFolder
