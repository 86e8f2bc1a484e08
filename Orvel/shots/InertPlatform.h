#pragma once
// The desktop of the scenes: they open nothing and launch nothing.

#include "Orvel/views/PlatformServices.h"

namespace orvel {

class InertPlatform : public PlatformServices {
  public:
    void openUrl(const QUrl&) override {}
    void launchApp(const std::filesystem::path&) override {}
    void openAccessibilitySettings() override {}
    void openSettings() override {}
};

} // namespace orvel
