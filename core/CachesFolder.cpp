#include "core/CachesFolder.h"

#include <cstdlib>

#include "core/OrvelPaths.h"

namespace orvel::CachesFolder {

std::filesystem::path path() {
    // A relative value is invalid by the convention and must be ignored.
    if (const char* value = std::getenv("XDG_CACHE_HOME"); value && *value) {
        std::filesystem::path folder(value);
        if (folder.is_absolute())
            return folder;
    }
    return OrvelPaths::home() / ".cache";
}

} // namespace orvel::CachesFolder
