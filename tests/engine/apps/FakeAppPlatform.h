#pragma once
// Platform services a test controls: which bundles are sandboxed and which run.

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
};

} // namespace orvel::testing
