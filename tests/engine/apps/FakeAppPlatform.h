#pragma once
// Platform services a test controls: which bundles are sandboxed and which run.

#include <cstdint>
#include <filesystem>
#include <set>
#include <vector>

#include "engine/apps/AppPlatform.h"

namespace orvel::testing {

class FakeAppPlatform : public AppPlatform {
  public:
    std::set<std::filesystem::path> sandboxedBundles;
    std::vector<std::filesystem::path> running;

    bool isSandboxed(const std::filesystem::path& bundleURL) const override {
        return sandboxedBundles.contains(bundleURL);
    }
    std::vector<std::filesystem::path> runningBundleURLs() const override { return running; }
    // The bundles of `running`, given the process ids firstProcessID, firstProcessID + 1, ...
    std::vector<RunningApplication> runningApplications() const override {
        std::vector<RunningApplication> applications;
        for (const auto& bundle : running)
            applications.push_back({firstProcessID + static_cast<std::int32_t>(applications.size()), bundle});
        return applications;
    }

    std::int32_t firstProcessID = 500;
};

} // namespace orvel::testing
