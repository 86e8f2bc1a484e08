#pragma once
// What the views ask of the desktop: open a web or settings address, launch a target app, ask for the
// accessibility access that reading other apps' windows needs, and show the application's settings
// window. The application hands the views SystemPlatformServices; tests hand them a recorder.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <filesystem>
#include <optional>

namespace orvel {

class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    virtual void openUrl(const QUrl& url) = 0;
    // Starts the app of the bundle at `bundleURL`; the outcome is not observed.
    virtual void launchApp(const std::filesystem::path& bundleURL) = 0;
    // Asks the desktop to let this process read other apps' windows, then opens the settings page
    // where the person turns that on.
    virtual void openAccessibilitySettings() = 0;
    // Shows the application's own settings window.
    virtual void openSettings() = 0;
};

// A program and its arguments, started directly: no shell ever reads them.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    bool operator==(const LaunchCommand&) const = default;
};

// The command that starts the bundle's executable (Contents/MacOS/<CFBundleExecutable>); nothing when
// the bundle names none.
std::optional<LaunchCommand> launchCommand(const std::filesystem::path& bundleURL);

} // namespace orvel
