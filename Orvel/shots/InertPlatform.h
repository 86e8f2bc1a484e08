#pragma once
// The desktop of the scenes: they open nothing and launch nothing.

#include "Orvel/views/PlatformServices.h"

namespace orvel {

class InertPlatform : public PlatformServices {
  public:
    void openUrl(const QUrl&) override {}
    std::optional<LaunchFailure> launchApp(const std::filesystem::path&) override { return std::nullopt; }
    void openAccessibilitySettings() override {}
    void openSettings() override {}
};

} // namespace orvel
