#pragma once
// An app whose developer ships string catalogs for translators in the bundle's manifest folder
// ("Contents/Resources/Orvel"): the record the whole system uses for a target app.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/AppManifest.h"
#include "core/OpenFolder.h"
#include "core/SourceString.h"
#include "engine/apps/AppPlatform.h"

namespace orvel {

struct TranslatableApp {
    std::filesystem::path bundleURL;
    std::string bundleIdentifier;
    std::string name;
    // Chooses where the app's data folder lies.
    bool sandboxed = false;
    // The language of the app's own strings.
    std::string sourceLanguage;
    // The catalogs of the manifest folder, ordered by file name.
    std::vector<std::filesystem::path> catalogURLs;
    std::optional<AppManifest> manifest;
    std::optional<std::string> contextText;
    // As shown to the person: "1.2 (57)", "1.2" or "57".
    std::optional<std::string> version;

    // The record for the bundle, or nothing when the bundle is not translatable: it cannot be opened, has
    // no usable identifier, or its manifest folder holds no catalog. An unreadable catalog, manifest,
    // context file or Info.plist only leaves its field at the fallback. Never throws.
    static std::optional<TranslatableApp> open(const std::filesystem::path& bundleURL,
                                               const AppPlatform& platform = AppPlatform::system());
    static bool isSandboxed(const std::filesystem::path& bundleURL);

    // The identity used by lists and selections.
    const std::string& id() const { return bundleIdentifier; }

    // The app's source strings: those of its catalogs (except "InfoPlist"), in catalog order, the first
    // of equal ids winning, followed by the strings the running app reported as shown (`seen`: table and
    // key pairs from its published state) that no catalog holds and that do not name an image of the
    // bundle. Unreadable catalogs and malformed pairs contribute nothing. Never throws.
    std::vector<SourceString> loadStrings(const std::vector<std::vector<std::string>>& seen) const;

    // Derived on each use from the current home folder and file system. Throw UnsafeNameError for an
    // identifier that cannot name a data folder (only a record made by hand can hold one).
    std::filesystem::path dataFolder() const;
    std::filesystem::path projectFolder() const;
    // The sorted codes of the languages that have an overlay in the data folder; none when the data
    // folder is a symbolic link or the identifier cannot name a data folder.
    std::vector<std::string> overlayLanguages() const;
    // Throws std::filesystem::filesystem_error when a folder between the part of the data folder that
    // the app itself can change and `path` (inside the data folder) is a symbolic link, and
    // UnsafeNameError when the identifier cannot name a data folder.
    void requireNoLinks(const std::filesystem::path& path) const;
    // False where requireNoLinks() would throw.
    bool hasNoLinks(const std::filesystem::path& path) const;
    // The folder `path` (inside the data folder) opened the way requireNoLinks() checks it, creating the
    // missing folders: what is written in it stays there whatever the app does to its folders meanwhile.
    // Throws like requireNoLinks(), and the file system's error.
    OpenFolder openWithoutLinks(const std::filesystem::path& path) const;
    // The bundle's icon file; the application turns it into an image.
    std::optional<std::filesystem::path> icon() const;

    // Two records of the same bundle are equal even when read at different times.
    bool operator==(const TranslatableApp& other) const { return bundleURL == other.bundleURL; }
};

} // namespace orvel

template <> struct std::hash<orvel::TranslatableApp> {
    std::size_t operator()(const orvel::TranslatableApp& app) const noexcept {
        return std::filesystem::hash_value(app.bundleURL);
    }
};
