#pragma once
// What the views ask of the desktop: open a web or settings address, launch a target app, ask for the
// accessibility access that reading other apps' windows needs, and show the application's settings
// window. The application hands the views SystemPlatformServices; tests hand them a recorder.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <filesystem>
#include <optional>
#include <variant>

namespace orvel {

// Why a target app could not be started.
enum class LaunchFailure {
    // Its Info.plist names no program (CFBundleExecutable), or cannot be read.
    noProgram,
    // The program it names is not a runnable file in Contents/MacOS.
    programMissing,
    // The system did not start the program.
    notStarted,
};

class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    virtual void openUrl(const QUrl& url) = 0;
    // Starts the app of the bundle at `bundleURL`, or says why it cannot; once started, what becomes of
    // it is not observed.
    virtual std::optional<LaunchFailure> launchApp(const std::filesystem::path& bundleURL) = 0;
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

// The command that starts the bundle's executable (Contents/MacOS/<CFBundleExecutable>), or why there is
// none: the bundle names none, or what it names is not a regular, executable file of its own (a link is
// not followed).
std::variant<LaunchCommand, LaunchFailure> launchCommand(const std::filesystem::path& bundleURL);

} // namespace orvel
