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

void SystemPlatformServices::launchApp(const std::filesystem::path& bundleURL) {
    if (const std::optional<LaunchCommand> command = launchCommand(bundleURL))
        QProcess::startDetached(command->program, command->arguments);
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
