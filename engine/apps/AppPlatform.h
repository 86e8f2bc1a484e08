#pragma once
// The operating-system services that app discovery reads through. The application uses system(); tests
// inject their own.

#include <filesystem>
#include <vector>

#include "engine/apps/RunningApplication.h"

namespace orvel {

class AppPlatform {
  public:
    virtual ~AppPlatform() = default;

    // True when the code signature of the bundle's executable carries the app-sandbox entitlement set to
    // true; every failure on the way gives false.
    virtual bool isSandboxed(const std::filesystem::path& bundleURL) const = 0;

    // The bundles of the running applications, earliest started first.
    virtual std::vector<std::filesystem::path> runningBundleURLs() const = 0;

    // The running processes that have a bundle, with their process ids, earliest started first.
    virtual std::vector<RunningApplication> runningApplications() const = 0;

    // This machine's services, shared by the whole process.
    static const AppPlatform& system();
};

} // namespace orvel
