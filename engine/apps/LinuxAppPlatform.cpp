#include "engine/apps/LinuxAppPlatform.h"

#include "engine/apps/AppBundle.h"
#include "engine/apps/CodeSignature.h"
#include "engine/apps/RunningBundles.h"

namespace orvel {

bool LinuxAppPlatform::isSandboxed(const std::filesystem::path& bundleURL) const {
    auto bundle = AppBundle::open(bundleURL);
    if (!bundle)
        return false;
    auto executable = bundle->executableURL();
    if (!executable)
        return false;
    auto entitlements = CodeSignature::entitlements(*executable);
    if (!entitlements)
        return false;
    auto value = entitlements->find("com.apple.security.app-sandbox");
    return value != entitlements->end() && value->is_boolean() && value->get<bool>();
}

std::vector<std::filesystem::path> LinuxAppPlatform::runningBundleURLs() const {
    return RunningBundles::list();
}

std::vector<RunningApplication> LinuxAppPlatform::runningApplications() const {
    return RunningBundles::applications();
}

} // namespace orvel
