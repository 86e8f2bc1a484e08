#include "Orvel/views/AppleBackendStatus.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace orvel {

SystemAppleBackendStatus::SystemAppleBackendStatus(std::filesystem::path resourcesFolder)
    : m_resources(std::move(resourcesFolder)) {}

std::filesystem::path SystemAppleBackendStatus::applicationResources() {
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "Resources";
}

std::optional<std::string> SystemAppleBackendStatus::availability(AppleModels::Kind kind) {
    return AppleModels::availability(kind);
}

void SystemAppleBackendStatus::forgetShortcutCache() {
    AppleModels::forgetShortcutCache();
}

std::optional<std::filesystem::path> SystemAppleBackendStatus::shortcutFile() const {
    const std::filesystem::path file = m_resources / (std::string(AppleModels::shortcutName) + ".shortcut");
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error)))
        return std::nullopt;
    return file;
}

void SystemAppleBackendStatus::openFile(const std::filesystem::path& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

} // namespace orvel
