#pragma once
// A macOS-style application bundle ("X.app/Contents/...") as a folder on disk, with the Info dictionary of
// its "Contents/Info.plist" (XML or binary property list).

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/Json.h"

namespace orvel {

class AppBundle {
  public:
    // Nothing when the path is not a folder. A folder without a readable Info.plist opens with an empty
    // Info dictionary.
    static std::optional<AppBundle> open(const std::filesystem::path& url);

    const std::filesystem::path& url() const { return m_url; }
    // False when "Contents/Info.plist" is missing or is not a dictionary property list.
    bool hasInfoDictionary() const { return m_hasInfoDictionary; }
    // The Info dictionary value of `key` when it is a string.
    std::optional<std::string> string(std::string_view key) const;

    std::optional<std::string> bundleIdentifier() const { return string("CFBundleIdentifier"); }
    std::optional<std::string> developmentLocalization() const { return string("CFBundleDevelopmentRegion"); }
    // Contents/MacOS/<CFBundleExecutable>; nothing when the name is missing or would leave that folder.
    std::optional<std::filesystem::path> executableURL() const;
    // Contents/Resources/<CFBundleIconFile>, with ".icns" added when the name has no extension; nothing when
    // the name is missing, would leave that folder, or names no file.
    std::optional<std::filesystem::path> iconURL() const;

    // The names under which the bundle finds an image resource in "Contents/Resources" or one of its
    // ".lproj" folders: each image file's name with and without its extension, and without a "@2x" or
    // "@3x" scale suffix, all in lower case, because the target platform's file system finds a file
    // whatever the case of its name. Read once per call; unreadable folders count as empty.
    std::set<std::string> imageNames() const;

    // The name in the form imageNames() lists it.
    static std::string imageNameKey(std::string_view name);

  private:
    AppBundle(std::filesystem::path url, json::Json info, bool hasInfoDictionary)
        : m_url(std::move(url)), m_info(std::move(info)), m_hasInfoDictionary(hasInfoDictionary) {}

    std::filesystem::path m_url;
    json::Json m_info;
    bool m_hasInfoDictionary;
};

} // namespace orvel
