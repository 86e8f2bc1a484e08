#pragma once
// The desktop's own services: addresses through the desktop's handler, apps started as a program with
// an argument list, accessibility through the desktop's switch and its settings panel.

#include "Orvel/views/PlatformServices.h"

#include <functional>

namespace orvel {

class SystemPlatformServices : public PlatformServices {
  public:
    // `requestTrust` asks the desktop for accessibility access; `openSettings` shows the settings window.
    SystemPlatformServices(std::function<void()> requestTrust, std::function<void()> openSettings);

    void openUrl(const QUrl& url) override;
    std::optional<LaunchFailure> launchApp(const std::filesystem::path& bundleURL) override;
    void openAccessibilitySettings() override;
    void openSettings() override;

  private:
    std::function<void()> m_requestTrust;
    std::function<void()> m_openSettings;
};

} // namespace orvel
