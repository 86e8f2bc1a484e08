#include "engine/apps/AppPlatform.h"

#include "engine/apps/LinuxAppPlatform.h"

namespace orvel {

const AppPlatform& AppPlatform::system() {
    static const LinuxAppPlatform platform;
    return platform;
}

} // namespace orvel
