#include "engine/apps/AppBundle.h"

#include "core/PathComponent.h"
#include "core/PropertyList.h"

namespace orvel {

namespace fs = std::filesystem;

std::optional<AppBundle> AppBundle::open(const fs::path& url) {
    std::error_code error;
    if (!fs::is_directory(url, error))
        return std::nullopt;
    auto info = PropertyList::readFile(url / "Contents" / "Info.plist");
    if (info && info->is_object())
        return AppBundle(url, std::move(*info), true);
    return AppBundle(url, json::Json::object(), false);
}

std::optional<std::string> AppBundle::string(std::string_view key) const {
    auto it = m_info.find(key);
    if (it == m_info.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

std::optional<fs::path> AppBundle::executableURL() const {
    auto name = string("CFBundleExecutable");
    if (!name || !isSafePathComponent(*name))
        return std::nullopt;
    return m_url / "Contents" / "MacOS" / *name;
}

std::optional<fs::path> AppBundle::iconURL() const {
    auto name = string("CFBundleIconFile");
    if (!name || !isSafePathComponent(*name))
        return std::nullopt;
    fs::path icon = m_url / "Contents" / "Resources" / *name;
    if (!icon.has_extension())
        icon += ".icns";
    std::error_code error;
    if (!fs::is_regular_file(icon, error))
        return std::nullopt;
    return icon;
}

} // namespace orvel
