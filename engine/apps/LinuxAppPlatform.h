#pragma once

#include "engine/apps/AppPlatform.h"

namespace orvel {

// The services of this system: entitlements from the Mach-O code signature of the bundle's executable,
// running applications from the process table.
class LinuxAppPlatform : public AppPlatform {
  public:
    bool isSandboxed(const std::filesystem::path& bundleURL) const override;
    std::vector<std::filesystem::path> runningBundleURLs() const override;
    std::vector<RunningApplication> runningApplications() const override;
};

} // namespace orvel
