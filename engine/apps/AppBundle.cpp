#include "engine/apps/AppBundle.h"

#include <algorithm>
#include <array>

#include "core/FileIO.h"
#include "core/PathComponent.h"
#include "core/PropertyList.h"
#include "core/Unicode.h"

namespace orvel {

namespace fs = std::filesystem;

namespace {

bool isImageExtension(std::string extension) {
    static constexpr std::array<std::string_view, 12> imageExtensions{
        ".png", ".jpg", ".jpeg", ".gif", ".tif", ".tiff", ".bmp", ".icns", ".ico", ".pdf", ".heic", ".webp"};
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return std::find(imageExtensions.begin(), imageExtensions.end(), extension) != imageExtensions.end();
}

void addImageNames(const fs::path& folder, std::set<std::string>& names) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        std::error_code typeError;
        if (!isImageExtension(file.extension().string()) || !it->is_regular_file(typeError))
            continue;
        std::string stem = AppBundle::imageNameKey(file.stem().string());
        names.insert(AppBundle::imageNameKey(file.filename().string()));
        names.insert(stem);
        for (std::string_view scale : {"@2x", "@3x"})
            if (stem.ends_with(scale))
                names.insert(stem.substr(0, stem.size() - scale.size()));
    }
}

// A value the bundle does not need must not cost it its identity: when the whole list is too deep or
// too large to expand, its top-level strings are still read, each without expanding anything else.
std::optional<json::Json> infoDictionary(const fs::path& file) {
    const auto bytes = FileIO::readIfPresent(file);
    if (!bytes)
        return std::nullopt;
    auto parsed = PropertyList::parseWithinLimits(*bytes, bundleListLimits);
    if (!parsed.value && parsed.overLimits)
        return PropertyList::topLevelScalars(*bytes, bundleListLimits);
    return std::move(parsed.value);
}

} // namespace

std::optional<AppBundle> AppBundle::open(const fs::path& url) {
    std::error_code error;
    if (!fs::is_directory(url, error))
        return std::nullopt;
    auto info = infoDictionary(url / "Contents" / "Info.plist");
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

std::string AppBundle::imageNameKey(std::string_view name) {
    return text::lowercased(name);
}

std::set<std::string> AppBundle::imageNames() const {
    std::set<std::string> names;
    const fs::path resources = m_url / "Contents" / "Resources";
    addImageNames(resources, names);
    std::error_code error;
    for (fs::directory_iterator it(resources, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".lproj")
            addImageNames(it->path(), names);
    return names;
}

} // namespace orvel
