#include "Orvel/views/SystemPlatformServices.h"

#include <QDesktopServices>
#include <QProcess>

namespace orvel {

SystemPlatformServices::SystemPlatformServices(std::function<void()> requestTrust,
                                               std::function<void()> openSettings)
    : m_requestTrust(std::move(requestTrust)), m_openSettings(std::move(openSettings)) {}

void SystemPlatformServices::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

std::optional<LaunchFailure> SystemPlatformServices::launchApp(const std::filesystem::path& bundleURL) {
    const std::variant<LaunchCommand, LaunchFailure> command = launchCommand(bundleURL);
    if (const LaunchFailure* failure = std::get_if<LaunchFailure>(&command))
        return *failure;
    const LaunchCommand& start = std::get<LaunchCommand>(command);
    if (!QProcess::startDetached(start.program, start.arguments))
        return LaunchFailure::notStarted;
    return std::nullopt;
}

void SystemPlatformServices::openAccessibilitySettings() {
    if (m_requestTrust)
        m_requestTrust();
    // The desktop's accessibility panel; a desktop without it opens nothing.
    QProcess::startDetached(QStringLiteral("gnome-control-center"), {QStringLiteral("universal-access")});
}

void SystemPlatformServices::openSettings() {
    if (m_openSettings)
        m_openSettings();
}

} // namespace orvel
